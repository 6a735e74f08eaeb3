#include "ServiceSet.h"

#include "ComparePort.h"
#include "DiskFileSystem.h"
#include "FolderPicker.h"
#include "GameLauncher.h"
#include "QtErrorPort.h"
#include "QtPorts.h"
#include "Settings.h"

namespace revlane::ui {

struct ServiceSet::Made {
    std::unique_ptr<MessagePort> messages;
    std::unique_ptr<InternalErrorPort> errors;
    std::unique_ptr<ClockPort> clock;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<platform::FolderPicker> picker;
    std::unique_ptr<platform::GameLauncher> launcher;
    std::unique_ptr<NumberPort> numbers;
    std::unique_ptr<ComparePort> compare;
};

ServiceSet::ServiceSet(QWidget* window, const Given& given) : made_(std::make_unique<Made>()), all_(given)
{
    const auto make = [](auto*& service, auto& made, auto create) {
        if (!service) {
            made = create();
            service = made.get();
        }
    };
    make(all_.messages, made_->messages, [&] { return std::make_unique<QtMessagePort>(window); });
    make(all_.errors, made_->errors, [&] { return std::make_unique<QtErrorPort>(window); });
    make(all_.clock, made_->clock, [] { return std::make_unique<QtClockPort>(); });
    make(all_.settings, made_->settings, [] { return std::make_unique<platform::Settings>(); });
    make(all_.picker, made_->picker, [] { return std::make_unique<platform::DialogFolderPicker>(); });
    make(all_.launcher, made_->launcher, [] { return std::make_unique<platform::SystemGameLauncher>(); });
    make(all_.numbers, made_->numbers, [] { return std::make_unique<QtNumberPort>(); });
    make(all_.compare, made_->compare, [] { return std::make_unique<DialogComparePort>(); });
    if (!all_.files)
        all_.files = &platform::Disk();
}

ServiceSet::~ServiceSet() = default;

}  // namespace revlane::ui
