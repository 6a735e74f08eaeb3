#include "ErrorReport.h"

#include <new>
#include <system_error>

#include "SystemError.h"

namespace revlane {

ModelError ModelError::FromSystem(int code, const std::string& what)
{
    return ModelError(code, what + ": " + SystemErrorText(code));
}

Failure FailureFrom(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const ModelError& e) {
        return {e.Code(), e.what()};
    } catch (const std::system_error& e) {
        return {e.code().value(), e.what()};
    } catch (const std::bad_alloc&) {
        return {errorcode::OutOfMemory, "Out of memory"};
    } catch (const std::exception& e) {
        return {errorcode::Internal, e.what()};
    } catch (...) {
        return {errorcode::Internal, "Unknown failure"};
    }
}

std::string ShortErrorReport(const Failure& failure)
{
    return "Error code # " + std::to_string(failure.code) + "\r\n" + "Description: " + failure.description;
}

std::string FullErrorReport(const Failure& failure, const std::string& routine, const std::string& osName)
{
    return ShortErrorReport(failure) + "\r\n" + "Routine: " + routine + "\r\n" + "OS: " + osName;
}

void ContinueOnError::Fail(Failure failure)
{
    failed_ = true;
    last_ = std::move(failure);
}

void ContinueOnError::Finish()
{
    if (!failed_)
        return;
    std::string report;
    try {
        report = FullErrorReport(last_, routine_, port_.OsName());
    } catch (...) {
        report = FullErrorReport(last_, routine_, std::string());
    }
    failed_ = false;
    port_.ShowInternalError(report);
}

void ContinueOnError::FinishShort()
{
    if (!failed_)
        return;
    failed_ = false;
    port_.ShowInternalError(ShortErrorReport(last_));
}

}  // namespace revlane
