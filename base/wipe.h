// Overwriting secrets (passwords and what is derived from them) before their memory is given
// back, so that a password does not outlive the import that needed it.
#pragma once

#include <string.h>

#include <span>
#include <string>

namespace qm {

// Zeros the bytes; the compiler may not leave the writes out.
inline void Wipe(std::span<uint8_t> bytes) {
    if (!bytes.empty()) explicit_bzero(bytes.data(), bytes.size());
}

// Zeros the whole buffer of a string (its capacity, not only its length), then empties it.
template <class C>
void Wipe(std::basic_string<C>& text) {
    if (text.capacity() > 0) explicit_bzero(text.data(), (text.capacity() + 1) * sizeof(C));
    text.clear();
}

}  // namespace qm
