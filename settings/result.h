// How the core reports a step that can fail: success, or the message that
// tells the user what went wrong, ready for a message box.
#pragma once

#include <string>
#include <utility>

namespace brinevar {

class [[nodiscard]] Result {
public:
    Result() = default; // success

    static Result Failure(std::string message)
    {
        Result result;
        result.failed_ = true;
        result.message_ = std::move(message);
        return result;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string &message() const { return message_; }

private:
    bool failed_ = false;
    std::string message_;
};

} // namespace brinevar
