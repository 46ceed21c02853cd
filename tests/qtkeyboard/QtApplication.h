#pragma once
// One offscreen QApplication for the whole test program, as a Qt program has. The first
// keyboard installs the widgetset; it goes before Qt does.

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

struct QtApplication : ::testing::Environment {
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        vcl::qt::UninstallQtWidgetset();
        app.reset();
    }
    int argc = 1;
    char name[16] = "qtkeyboard";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};
