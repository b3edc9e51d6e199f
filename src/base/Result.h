#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <utility>
#include <variant>

// The outcome of an operation that can fail with a message for the user: either its value or
// the error. The error is a text ready to be shown unless another type is named, such as an
// error that also points at a line of a file.
//
//     Result<QString> load(const QString& name);   // return text; or return Failure{why};
//     Result<void> open();                         // return {};   or return Failure{why};
//
// Modelled on std::expected, so that the move to it is mechanical once Lexamo builds as C++23.

// The error side of a Result, as a return statement gives it: Failure{message}.
template <typename E = QString> struct Failure {
    E error;
};
// Spelled out for compilers that do not yet deduce an aggregate's template arguments.
template <typename E> Failure(E) -> Failure<E>;

template <typename T, typename E = QString> class [[nodiscard]] Result {
public:
    Result(const T& value) : state_(std::in_place_index<0>, value) {}
    Result(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}
    template <typename F>
    Result(Failure<F> failure) : state_(std::in_place_index<1>, std::move(failure.error))
    {
    }

    bool ok() const { return state_.index() == 0; }

    // The value; only when ok().
    const T& value() const&
    {
        Q_ASSERT(ok());
        return std::get<0>(state_);
    }
    T& value() &
    {
        Q_ASSERT(ok());
        return std::get<0>(state_);
    }
    T&& value() &&
    {
        Q_ASSERT(ok());
        return std::get<0>(std::move(state_));
    }
    template <typename U> T valueOr(U&& fallback) const&
    {
        return ok() ? std::get<0>(state_) : static_cast<T>(std::forward<U>(fallback));
    }

    // The error; an empty one when ok().
    E error() const { return ok() ? E{} : std::get<1>(state_); }

private:
    std::variant<T, E> state_; // by index, so that T and E may be the same type
};

// An operation that gives nothing back but can fail: Result<void> is ok when made with {}.
template <typename E> class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    template <typename F>
    Result(Failure<F> failure) : error_(std::in_place, std::move(failure.error))
    {
    }

    bool ok() const { return !error_.has_value(); }
    E error() const { return error_.value_or(E{}); }

private:
    std::optional<E> error_;
};
