// Who and where the program runs, for records read on other machines.
#pragma once
#include <string>

namespace kv {

std::string MachineName();  // the computer's NetBIOS name; empty when unknown
std::string AccountName();  // the account the program runs under; empty when unknown

}  // namespace kv
