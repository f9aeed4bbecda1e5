#pragma once
// A window with the in-memory serial ports, the recording pause and scripted dialogs, and a
// scripted logger on COM3: each command written gets the reply the test set for it; commands
// without one get no reply at all.

#include "FakeDialogs.h"
#include "TestServices.h"
#include "app/MainWindow.h"

#include <QAbstractButton>
#include <QDateTimeEdit>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace velkor::testing {

using Replies = std::map<std::string, std::string>;

inline void AnswerCommands(MemoryLine& line, Replies replies) {
    line.onWrite = [replies = std::move(replies)](const std::string& written, MemoryLine& l) {
        const auto it = replies.find(written);
        if (it != replies.end())
            l.send(it->second);
    };
}

// A logger with humidity whose settings are all valid: clock 2024-03-05 12:34:56, one-minute
// interval, logging from 2024-01-01 00:00:00, 100 samples, 3650 mV.
inline Replies ValidLogger() {
    return {{"N?\r", "RTW01234\r"}, {"T?\r", "T?123456\r"},       {"D?\r", "D?050324\r"},
            {"I?\r", "I?000100\r"}, {"R?\r", "R?000000010124\r"}, {"S?\r", "S?0000100\r"},
            {"U?\r", "U?03650\r"}};
}

class LoggerWindow : public ::testing::Test {
protected:
    MainWindow& Open(Language language = Language::Polish) {
        window = std::make_unique<MainWindow>(dialogs, services.services, language);
        return *window;
    }
    // A click as the user makes it: through the control's signal and the error report.
    void Click(Control control) { static_cast<QAbstractButton*>(window->Widget(control))->click(); }
    // Connects to the scripted logger, then forgets what that exchange wrote and waited.
    void Connect(Replies replies = ValidLogger()) {
        AnswerCommands(logger, std::move(replies));
        Click(Control::OdczytUstawien);
        ASSERT_TRUE(services.link.IsOpen());
        logger.writes.clear();
        services.pause.waits.clear();
    }
    // What a picker shows.
    QString Shown(Control picker) const {
        return static_cast<QDateTimeEdit*>(window->Widget(picker))->text();
    }
    std::vector<bool> EnabledStates() const {
        std::vector<bool> states;
        for (const ControlLayout& layout : ControlLayouts())
            states.push_back(window->IsControlEnabled(layout.control));
        return states;
    }

    FakeDialogs dialogs;
    TestServices services;
    MemoryLine& logger = services.ports.add("COM3");
    std::unique_ptr<MainWindow> window;
};

} // namespace velkor::testing
