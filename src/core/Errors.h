#pragma once
// The system's errors. Every error carries the message text the user sees
// (Windows-1252); nothing is translated or decorated on the way up.
#include <exception>
#include <string>

namespace qv {

// Base of every error the system raises itself.
class Error : public std::exception {
public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// A file that could not be created (or replaced): nothing of it was written.
class FileCreationError : public Error {
public:
    using Error::Error;
};

// An error reported by the Firebird client: keeps the SQL code and the
// Firebird (ISC) error code beside the message.
class FirebirdError : public Error {
public:
    FirebirdError(std::string message, int sqlCode, long firebirdCode)
        : Error(std::move(message)), sqlCode_(sqlCode), firebirdCode_(firebirdCode) {}
    int SqlCode() const noexcept { return sqlCode_; }
    long FirebirdCode() const noexcept { return firebirdCode_; }

private:
    int sqlCode_;
    long firebirdCode_;
};

// Stops the current action without any message: the top-level handler
// swallows it.
class SilentAbort : public Error {
public:
    SilentAbort() : Error(std::string()) {}
};

// The message of the error being handled; call it only inside a catch
// block. The system's own message for its errors, "Mémoire insuffisante."
// for a failed allocation, the text of any other standard exception, and a
// generic text for anything else.
std::string CurrentErrorMessage();

// The message of "the last system error": the code and the system's text,
// or the generic text when the code is 0.
std::string SystemErrorMessage(unsigned long code, const std::string& systemText);

}  // namespace qv
