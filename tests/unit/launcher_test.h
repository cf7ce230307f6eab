// Shared set-up of the unit tests: a fresh double and fresh globals per test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "globals.h"
#include "platform_fake.h"
#include "postpone_main.h"

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFake();
        ResetGlobals();
    }

    // Runs the whole process on `commandLine` and returns its exit code.
    static uint32_t RunProcessWith(const std::string& commandLine) {
        Fake.commandLine = commandLine;
        try {
            RunProcess(reinterpret_cast<OsHandle>(0x400000), 1);
        } catch (const FakeExit& exit) {
            return exit.code;
        }
        ADD_FAILURE() << "the process did not end through ExitProcess";
        return 0xDEADBEEF;
    }
};
