#pragma once
// What the engine's scenario tests start from: a download manager on a window of its own, its
// settings in a scratch folder (three workers, no pause between connections, no periodic save)
// and a local test server.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <string>
#include "core/DownloadManager.h"
#include "core/ProgramSettings.h"
#include "core/TaskFileNames.h"
#include "tests/support/RecordingViews.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestSupport.h"

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetTaskProgramFolder(dir_.Path());
        settings_.reset(new ProgramSettings(nullptr, dir_.Path(), [](const std::string&) {}));
        settings_->ThreadsAmount = 3;
        settings_->PauseBetweenConnections = 0;
        settings_->SaveCacheIntervale = 0;
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        manager_.reset(new DownloadManager(settings_.get(), &views_));
        ASSERT_TRUE(manager_->CreateManagerWindow(parent_));
        ASSERT_TRUE(server_.Start());
    }
    void TearDown() override {
        manager_.reset();
        DestroyWindow(parent_);
        server_.Stop();
        SetTaskProgramFolder("");
    }
    // How many messages said that the page at `path` brought more links than one page may.
    int CappedPageMessages(const std::string& path) {
        int count = 0;
        for (const std::string& m : views_.messages)
            if (m.find("more links than one page may bring") != std::string::npos &&
                m.find(server_.Url(path)) != std::string::npos)
                ++count;
        return count;
    }

    testsupport::ScratchDir dir_;
    std::unique_ptr<ProgramSettings> settings_;
    testsupport::RecordingViews views_;
    HWND parent_ = nullptr;
    std::unique_ptr<DownloadManager> manager_;
    testsupport::TestHttpServer server_;
};
