// How the core reports a step that can fail: success, or the message that
// tells the user what went wrong, ready for a message box. A step that also
// gives a value puts it in an out-parameter and returns a Result.
#pragma once

#include <string>
#include <system_error>
#include <utility>

namespace brinevar {

class [[nodiscard]] Result {
public:
    Result() = default; // success

    // `cause`: the system's reason where a file step failed, for callers
    // that treat one reason (no such file) as no failure at all.
    static Result Failure(std::string message, std::error_code cause = {})
    {
        Result result;
        result.failed_ = true;
        result.message_ = std::move(message);
        result.cause_ = cause;
        return result;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string &message() const { return message_; }
    std::error_code cause() const { return cause_; }

private:
    bool failed_ = false;
    std::string message_;
    std::error_code cause_;
};

} // namespace brinevar
