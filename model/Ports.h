#pragma once

#include <string>

// The few ways the model talks to the user. The window implements them with real message
// boxes and dialogs; tests implement them to see exactly what the user would have seen.
namespace revlane {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { Critical, Question, Exclamation, Information };
// The values are the ones the window keeps as its last answer.
enum class MsgAnswer { OK = 1, Cancel = 2, Yes = 6, No = 7 };

class MessagePort {
public:
    virtual ~MessagePort() = default;
    // A modal message box titled with the product name.
    virtual MsgAnswer ShowMessage(const std::string& text, MsgButtons buttons, MsgIcon icon) = 0;
};

class InternalErrorPort {
public:
    virtual ~InternalErrorPort() = default;
    // The running system's name, as the last line of an error report gives it.
    virtual std::string OsName() = 0;
    // Shows a finished report modally and returns when the user goes on.
    virtual void ShowInternalError(const std::string& report) = 0;
};

// The current date and time in the user's long formats, for the header of a saved file.
class ClockPort {
public:
    virtual ~ClockPort() = default;
    virtual std::string LongDate() = 0;
    virtual std::string LongTime() = 0;
};

}  // namespace revlane
