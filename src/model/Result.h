#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quillon {

// The failure side of a Result: the text the user is meant to see and, where the format gives one,
// an error number (the file reader's 10xx numbers, for example).
struct Failure {
    std::string message;
    int code = 0;
};

// A value or the failure that prevented it. Errors cross interfaces as values, never as exceptions.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {} // NOLINT(google-explicit-constructor)
    Result(Failure failure) : state_(std::move(failure)) {} // NOLINT(google-explicit-constructor)

    static Result fail(std::string message, int code = 0) { return Result(Failure{std::move(message), code}); }

    bool ok() const noexcept { return std::holds_alternative<T>(state_); }
    explicit operator bool() const noexcept { return ok(); }

    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Failure& failure() const { return std::get<Failure>(state_); }
    const std::string& message() const { return failure().message; }
    int code() const { return failure().code; }

private:
    std::variant<T, Failure> state_;
};

// Success or a Failure, for operations that return nothing.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Failure failure) : failure_(std::move(failure)) {} // NOLINT(google-explicit-constructor)

    static Status success() { return {}; }
    static Status fail(std::string message, int code = 0) { return Status(Failure{std::move(message), code}); }

    bool ok() const noexcept { return !failure_.has_value(); }
    explicit operator bool() const noexcept { return ok(); }
    const Failure& failure() const { return *failure_; }
    const std::string& message() const { return failure_->message; }
    int code() const { return failure_->code; }

private:
    std::optional<Failure> failure_;
};

} // namespace quillon
