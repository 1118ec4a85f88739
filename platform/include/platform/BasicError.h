#pragma once
// Basic run-time errors: numbered faults with the Japanese descriptions a
// Japanese Basic runtime shows, and the trap that turns a fault inside a
// procedure into "name, " + number + description.
#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

// Error numbers the system relies on.
enum BasicErrorNumber : int {
    errInvalidCall = 5,
    errOverflow = 6,
    errOutOfMemory = 7,
    errSubscript = 9,
    errDivisionByZero = 11,
    errTypeMismatch = 13,
    errBadFileName = 52,
    errFileNotFound = 53,
    errFileAlreadyOpen = 55,
    errDeviceIo = 57,
    errDiskFull = 61,
    errInputPastEnd = 62,
    errTooManyFiles = 67,
    errPermissionDenied = 70,
    errPathFileAccess = 75,
    errPathNotFound = 76,
    errObjectNotSet = 91,
    errDllLoad = 48,
    errDllEntryPoint = 453,
    errInvalidProperty = 380,
    errCancel = 32755,
};

class BasicError : public std::exception {
public:
    explicit BasicError(int number, std::string description = {});
    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int number_;
    std::string description_;
};

// The runtime's description of an error number ("" for an unknown one is
// replaced by the generic application-defined text).
std::string errorDescription(int number);

// "proc, " + number + description, with no separator between number and text.
std::string trapMessage(std::string_view procedure, int number, std::string_view description);
std::string trapMessage(std::string_view procedure, const BasicError& error);

[[noreturn]] void raise(int number);

// Runs body; a BasicError (or an allocation failure, as error 7) becomes the
// procedure's trap message. body returns std::string (a status) or void.
template <class Body>
std::string trapErrors(std::string_view procedure, Body&& body)
{
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
            body();
            return {};
        } else {
            return body();
        }
    } catch (const BasicError& e) {
        return trapMessage(procedure, e);
    } catch (const std::bad_alloc&) {
        return trapMessage(procedure, errOutOfMemory, errorDescription(errOutOfMemory));
    } catch (const std::length_error&) {
        return trapMessage(procedure, errOutOfMemory, errorDescription(errOutOfMemory));
    }
}

} // namespace platform
