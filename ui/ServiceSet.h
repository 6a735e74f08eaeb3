#pragma once

#include <memory>

#include "FileSystem.h"
#include "Ports.h"

class QWidget;

namespace revlane::platform {
class FolderPicker;
class GameLauncher;
class Settings;
}  // namespace revlane::platform

namespace revlane::ui {

class ComparePort;
class NumberPort;

// Where a window's messages, error reports, files, clock, settings, folder picker, game start,
// the numbers it asks for and the files and vehicles a comparison asks for come from: those given (tests give their own), and the real ones, made
// for the window, where none is given.
class ServiceSet {
public:
    struct Given {
        MessagePort* messages = nullptr;
        InternalErrorPort* errors = nullptr;
        FileSystem* files = nullptr;
        ClockPort* clock = nullptr;
        platform::Settings* settings = nullptr;
        platform::FolderPicker* picker = nullptr;
        platform::GameLauncher* launcher = nullptr;
        NumberPort* numbers = nullptr;
        ComparePort* compare = nullptr;
    };

    ServiceSet(QWidget* window, const Given& given);
    ~ServiceSet();

    // Every service, given or made.
    const Given& Get() const { return all_; }

private:
    struct Made;
    std::unique_ptr<Made> made_;
    Given all_;
};

}  // namespace revlane::ui
