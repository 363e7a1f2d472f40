// The engine's one error channel. Every fallible engine function returns Result<T>: the
// value, or a ZodiakitError whose kind says what went wrong and whose display() is the
// exact text the user sees. A long scan the caller stopped ends with Kind::Interrupted.
// Exceptions are left for true invariant failures (InvariantFailure), which ordinary input
// cannot cause. ZK_TRY and ZK_TRY_VOID pass an error on to the caller unchanged.
#pragma once

#include <expected>
#include <stdexcept>
#include <string>
#include <utility>

namespace zk {

struct ZodiakitError {
    enum class Kind {
        SweCalculation,
        InvalidParameter,
        DateTimeError,
        ComputationError,
        // An option or date text the caller wrote that names nothing valid ("Unknown
        // ayanamsa 'x'. Valid options: ...", "Invalid date '2024-3-1': ..."); the text is
        // the whole message.
        InvalidInput,
        // The caller asked a long scan to stop; the caller knows why, so the text is empty.
        Interrupted,
    };
    Kind kind;
    std::string planet;  // SweCalculation only
    std::string text;    // SweCalculation: the library's message; others: the payload

    static ZodiakitError swe(std::string planet, std::string msg) {
        return {Kind::SweCalculation, std::move(planet), std::move(msg)};
    }
    static ZodiakitError invalid_parameter(std::string text) {
        return {Kind::InvalidParameter, {}, std::move(text)};
    }
    static ZodiakitError date_time() { return {Kind::DateTimeError, {}, {}}; }
    static ZodiakitError computation(std::string text) {
        return {Kind::ComputationError, {}, std::move(text)};
    }
    static ZodiakitError invalid_input(std::string message) {
        return {Kind::InvalidInput, {}, std::move(message)};
    }
    static ZodiakitError interrupted() { return {Kind::Interrupted, {}, {}}; }

    // The text users see, e.g. "Invalid parameter: Sun always up?".
    std::string display() const {
        switch (kind) {
            case Kind::SweCalculation:
                return "Swiss Ephemeris calculation failed for planet " + planet + ": " + text;
            case Kind::InvalidParameter:
                return "Invalid parameter: " + text;
            case Kind::DateTimeError:
                return "Date/time conversion error";
            case Kind::ComputationError:
                return "Computation error: " + text;
            case Kind::InvalidInput:
                return text;
            case Kind::Interrupted:
                return "Interrupted";
        }
        return text;
    }

    friend bool operator==(const ZodiakitError&, const ZodiakitError&) = default;
};

template <typename T>
using Result = std::expected<T, ZodiakitError>;

// A consistency check that ordinary input cannot trip failed. The binding layer turns it
// into the internal-error exception; it never reaches the interpreter as a C++ exception.
struct InvariantFailure : std::logic_error {
    using std::logic_error::logic_error;
};

}  // namespace zk

#define ZK_TRY_CONCAT_(a, b) a##b
#define ZK_TRY_NAME_(line) ZK_TRY_CONCAT_(zk_try_result_, line)

// Inside a function returning some Result: evaluates `expr` (a Result), returns its error
// from the enclosing function when it failed, and otherwise declares `var` holding the
// value. At most one per source line.
//     ZK_TRY(moon, ephemeris::calc_ut(jd, true_nodes, Planet::Moon));
#define ZK_TRY(var, expr) ZK_TRY_IMPL_(var, expr, ZK_TRY_NAME_(__LINE__))
#define ZK_TRY_IMPL_(var, expr, result)                             \
    auto result = (expr);                                           \
    if (!result) return std::unexpected(std::move(result).error()); \
    auto var = std::move(*result)

// The same for a Result whose value is not needed (Result<void>, a validation).
#define ZK_TRY_VOID(expr)                                                      \
    do {                                                                       \
        if (auto ZK_TRY_NAME_(__LINE__) = (expr); !ZK_TRY_NAME_(__LINE__)) {   \
            return std::unexpected(std::move(ZK_TRY_NAME_(__LINE__)).error()); \
        }                                                                      \
    } while (false)
