// The one shape of an outcome that can fail for an expected reason in the layers below
// the window (platform, dbf, tables, queue, print): a file that is missing, a copy that
// failed, a table that another workstation holds. A failed result carries its cause as
// German text that names the file, because the operator reads it in the panes and
// message boxes as it stands.
//
// Runtime errors that end in the default error report stay exceptions (dbf::DbfError,
// std::runtime_error); a Result is for what the caller is expected to handle.
#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace sendwerk {

// The failed side of a Result: `return Failure{cause};` from any function that returns
// a Result of any type.
struct Failure {
    QString cause;
};

template <typename T = void>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : cause_(std::move(failure.cause)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Empty when ok().
    const QString& cause() const { return cause_; }

    // value() throws std::bad_optional_access when the result failed; the operators
    // are for callers that have looked at ok().
    T& value() { return value_.value(); }
    const T& value() const { return value_.value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    QString cause_;
};

template <>
class Result<void> {
public:
    Result() = default;
    Result(Failure failure) : ok_(false), cause_(std::move(failure.cause)) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const QString& cause() const { return cause_; }

private:
    bool ok_ = true;
    QString cause_;
};

}  // namespace sendwerk
