// The program's words for a Word document it does not read.
#pragma once

namespace qm {

inline constexpr const char* kMsgCannotOpen = "Can not open docfile!";
inline constexpr const char* kMsgNotWordDocument = "This file is not a Word document.";
inline constexpr const char* kMsgNoTableStream = "The document's table stream is missing.";
inline constexpr const char* kMsgEncrypted = "This document is password protected.";
inline constexpr const char* kMsgWrongPassword = "The password is not correct.";
inline constexpr const char* kMsgObfuscated =
    "This document is protected by XOR obfuscation, which is not supported.";
inline constexpr const char* kMsgUnsupportedVersion = "This Word version is not supported.";
inline constexpr const char* kMsgWord2 = "Word 2 documents are not supported.";
inline constexpr const char* kMsgDamagedHeader = "The document header is damaged.";

}  // namespace qm
