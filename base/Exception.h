#pragma once
// The general exception class. Every error the program reports is one of its
// descendants; the error box shows Message(), and tools print ClassName().
#include <exception>
#include <string>

namespace tabulon {

class Exception : public std::exception {
  public:
    explicit Exception(std::wstring message, unsigned long systemCode = 0)
        : message_(std::move(message)), systemCode_(systemCode) {
        for (wchar_t c : message_)
            narrow_ += c < 0x80 ? char(c) : '?';
    }
    const std::wstring& Message() const noexcept { return message_; }
    // The system error code behind a failure of the file layer, else 0; lets
    // a caller tell a passing lock from a lasting fault.
    unsigned long SystemCode() const noexcept { return systemCode_; }
    // The class name as the program knows it, e.g. "EPngInvalidCRC".
    virtual const char* ClassName() const noexcept { return "Exception"; }
    // ASCII rendering of the message (non-ASCII characters as '?').
    const char* what() const noexcept override { return narrow_.c_str(); }

  private:
    std::wstring message_;
    unsigned long systemCode_ = 0;
    std::string narrow_;
};

// Declares `Name`, a direct descendant of Exception reporting its own name.
#define TABULON_EXCEPTION_CLASS(Name)                                                              \
    class Name : public ::tabulon::Exception {                                                     \
      public:                                                                                      \
        using ::tabulon::Exception::Exception;                                                     \
        const char* ClassName() const noexcept override { return #Name; }                          \
    }

} // namespace tabulon
