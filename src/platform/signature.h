// Who signed a program file: its Authenticode signature, embedded in the
// file or found for it in the system's catalogs, checked by the platform.
#pragma once
#include <string>

namespace kv {

enum class SignatureState { Signed, NotSigned, NotValid, FileNotFound };

struct FileSignature {
  SignatureState state = SignatureState::FileNotFound;
  std::string publisher;  // Signed: the signer's name
};

// "Signed: <publisher>", "Not signed", "Signature not valid" or "File not found".
std::string SignatureText(const FileSignature& signature);

// A valid signature whose publisher is Microsoft.
bool SignedByMicrosoft(const FileSignature& signature);

// Checks without asking anyone and without reaching out to the network.
FileSignature VerifyFileSignature(const std::string& path);

}  // namespace kv
