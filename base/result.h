// Errors as values at the import boundary: a small Result<T> with an error kind and a message.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace qm {

enum class TErrorKind {
    NotWordDocument,  // not a compound file, or no "WordDocument" stream
    Unsupported,      // a Word version or feature we do not read
    Encrypted,        // password protected, and no password was given
    WrongPassword,    // password protected, and the password given does not open it
    Damaged,          // structure broken beyond reading
    LimitExceeded,    // a stated resource limit was reached
    Io,               // the file could not be read
};

struct TError {
    TErrorKind Kind = TErrorKind::Damaged;
    std::string Message;
};

template <class T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(TError error) : state_(std::move(error)) {}

    bool Ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return Ok(); }
    T& Value() { return std::get<T>(state_); }
    const T& Value() const { return std::get<T>(state_); }
    T& operator*() { return Value(); }
    T* operator->() { return &Value(); }
    const TError& Error() const { return std::get<TError>(state_); }

private:
    std::variant<T, TError> state_;
};

inline TError MakeError(TErrorKind kind, std::string message) {
    return TError{kind, std::move(message)};
}

}  // namespace qm
