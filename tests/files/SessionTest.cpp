// SPDX-License-Identifier: GPL-3.0-or-later
// The caption and the modified flag after each sequence of events the
// window reports.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Session.h"

using optimara::files::Session;

namespace {

using Event = std::function<void(Session&)>;

const Event kEdit = [](Session& s) { s.Changed(); };
const Event kSave = [](Session& s) { s.Saved(); };
const Event kClear = [](Session& s) { s.Cleared(); };
Event Open(const std::string& name) {
    return [name](Session& s) { s.Opened(name); };
}
Event Restore(const std::string& name, bool modified) {
    return [name, modified](Session& s) { s.Restored(name, modified); };
}

struct Case {
    const char* what;
    std::vector<Event> events;
    std::string caption;
    bool modified;
    std::string fileName;
};

} // namespace

TEST(SessionCaption, FollowsTheEventsOfTheWindow) {
    const std::string file = "C:\\p.lpf";
    const Case cases[] = {
        {"fresh", {}, "Optimara", false, ""},
        {"edited, never saved: two blanks", {kEdit}, "Optimara-  Modificado", true, ""},
        {"edited twice: one suffix", {kEdit, kEdit}, "Optimara-  Modificado", true, ""},
        {"saved without a file", {kSave}, "Optimara- ", false, ""},
        {"opened", {Open(file)}, "Optimara- C:\\p.lpf", false, file},
        {"opened then edited", {Open(file), kEdit}, "Optimara- C:\\p.lpf Modificado", true, file},
        {"edited then saved", {Open(file), kEdit, kSave}, "Optimara- C:\\p.lpf", false, file},
        {"cleared", {Open(file), kEdit, kClear}, "Optimara", false, ""},
        {"cleared twice", {Open(file), kClear, kClear}, "Optimara", false, ""},
        {"edited after a clear", {Open(file), kClear, kEdit}, "Optimara-  Modificado", true, ""},
        {"saved after a clear", {Open(file), kClear, kSave}, "Optimara- ", false, ""},
        {"restored modified", {Restore(file, true)}, "Optimara- C:\\p.lpf Modificado", true, file},
        {"restored unmodified", {Restore(file, false)}, "Optimara- C:\\p.lpf", false, file},
        {"restored without a file", {Restore("", false)}, "Optimara- ", false, ""},
        {"opened over a modified one", {Restore("a.lpf", true), Open(file)}, "Optimara- C:\\p.lpf", false, file},
        {"blanks and accents kept", {Open("C:\\Mis problemas\\año.lpf"), kEdit},
         "Optimara- C:\\Mis problemas\\año.lpf Modificado", true, "C:\\Mis problemas\\año.lpf"},
    };
    for (const Case& c : cases) {
        Session session;
        for (const Event& event : c.events) event(session);
        EXPECT_EQ(session.Caption(), c.caption) << c.what;
        EXPECT_EQ(session.Modified, c.modified) << c.what;
        EXPECT_EQ(session.CurrentFileName, c.fileName) << c.what;
    }
}

TEST(SessionCaption, FieldsSetDirectlyShowOnceNamed) {
    Session session;
    session.CurrentFileName = "x.lpf";
    session.Modified = true;
    // Nothing has happened yet: the caption is still the bare product name.
    EXPECT_EQ(session.Caption(), "Optimara");
    session.Saved();
    EXPECT_EQ(session.Caption(), "Optimara- x.lpf");
}
