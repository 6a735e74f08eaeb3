#pragma once

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "Ports.h"

namespace revlane {

// A failure with our own number: the system's error number for file errors, the
// numbers below for the rest.
class ModelError : public std::runtime_error {
public:
    ModelError(int code, const std::string& description) : std::runtime_error(description), code_(code) {}
    int Code() const { return code_; }

    // From a number of the running system's own (SystemError.h), with the system's text for it.
    static ModelError FromSystem(int code, const std::string& what);

private:
    int code_;
};

namespace errorcode {
constexpr int OutOfMemory = 1001;
constexpr int Internal = 1002;
}  // namespace errorcode

struct Failure {
    int code = 0;
    std::string description;
};

// Any exception, as the failure a report describes.
Failure FailureFrom(std::exception_ptr error);

// "Error code # ", "Description: ", "Routine: ", "OS: ", joined by CR LF, none after the last.
std::string FullErrorReport(const Failure& failure, const std::string& routine, const std::string& osName);
// The first two lines of the full report.
std::string ShortErrorReport(const Failure& failure);

// Runs an operation as a series of steps: a step that throws is abandoned and the next
// one runs. At the end the last failure, if any, is reported once.
class ContinueOnError {
public:
    ContinueOnError(std::string routine, InternalErrorPort& port) : routine_(std::move(routine)), port_(port) {}
    ContinueOnError(const ContinueOnError&) = delete;
    ContinueOnError& operator=(const ContinueOnError&) = delete;

    // Returns whether the step ran to its end. A template rather than a std::function, since
    // reading runs a step for every line.
    template <class F>
    bool Step(F&& step)
    {
        try {
            step();
            return true;
        } catch (...) {
            Fail(FailureFrom(std::current_exception()));
            return false;
        }
    }
    // Counts a failure found without an exception.
    void Fail(Failure failure);

    bool Failed() const { return failed_; }

    // Shows the full report when a step failed, then forgets the failure.
    void Finish();
    // The same with the two-line report.
    void FinishShort();

private:
    std::string routine_;
    InternalErrorPort& port_;
    bool failed_ = false;
    Failure last_;
};

}  // namespace revlane
