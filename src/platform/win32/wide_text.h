// UTF-8 inside the program, UTF-16 at the Windows boundary.
#pragma once
#include <string>

namespace lt::win32 {

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);
// The system's text for an error code, without the trailing line break.
std::string systemErrorText(unsigned long code);

}  // namespace lt::win32
