// A desktop session over the scripted layer, working in a fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_program.h"
#include "app/session.h"
#include "scripted_windowing.h"
#include "support/test_support.h"

namespace marvist::test {

class UiTest : public ::testing::Test {
protected:
    UiTest() : saved_folder_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir.path());
        session.main_window = layer.create_main_window(main_window_spec(session));
        session.rs.clock = fixed_time;
        session.console = console_;
    }
    ~UiTest() override {
        std::filesystem::current_path(saved_folder_);
        std::fclose(console_);
    }

    // The form answered with OK after edit has changed it.
    void answer_forms(std::function<void(std::vector<ui::DialogItem>&)> edit) {
        layer.answer_dialog = [edit](std::vector<ui::DialogItem>& items, std::string_view) {
            if (edit) edit(items);
            return ui::kDialogOk;
        };
    }
    const ScriptedWindowing::Message& last_message() const { return layer.messages.back(); }
    // The working folder, resolved.
    static std::filesystem::path folder() { return std::filesystem::canonical(std::filesystem::current_path()); }

    std::filesystem::path saved_folder_;
    TempDir dir;
    ScriptedWindowing layer;
    Session session{layer};

private:
    std::FILE* console_ = std::tmpfile();
};

}  // namespace marvist::test
