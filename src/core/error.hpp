// The one domain error of the engine, and the result type every fallible function returns.
#pragma once

#include <expected>
#include <stdexcept>
#include <string>
#include <utility>

namespace zk {

struct ZodiakitError {
    // Plain: an input refused with a text of its own, shown as it is ("Invalid planet name",
    // "Unknown ayanamsa 'x'. Valid options: ..."), such as the texts that parse options.
    enum class Kind { SweCalculation, InvalidParameter, DateTimeError, ComputationError, Plain };
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
    static ZodiakitError plain(std::string text) { return {Kind::Plain, {}, std::move(text)}; }

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
            case Kind::Plain:
                return text;
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
