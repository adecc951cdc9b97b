// Who signed a program, checked by the platform against the prefix's root
// store, with programs signed by a certificate authority made at build time.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/signature.h"
#include "regwatch/signing/trusted_root.h"

using namespace kv;
using namespace kv::test;

#ifdef KV_SIGNING_DIR

TEST(FileSignatureTest, SignedUnsignedChangedAndMissing) {
  // Signed by an authority the machine does not trust: no publisher to show.
  EXPECT_EQ(VerifyFileSignature(Sample("signed.exe")).state, SignatureState::NotValid);
  EXPECT_EQ(VerifyFileSignature(Sample("signed.exe")).publisher, "");

  TrustedTestRoot root;
  ASSERT_TRUE(root.added());
  const FileSignature signedFile = VerifyFileSignature(Sample("signed.exe"));
  EXPECT_EQ(signedFile.state, SignatureState::Signed);
  EXPECT_EQ(signedFile.publisher, "Korvanel Test Publisher");
  EXPECT_EQ(VerifyFileSignature(Sample("unsigned.exe")).state, SignatureState::NotSigned);
  EXPECT_EQ(VerifyFileSignature(Sample("tampered.exe")).state, SignatureState::NotValid);
  EXPECT_EQ(VerifyFileSignature(Sample("missing.exe")).state, SignatureState::FileNotFound);
}

#endif
