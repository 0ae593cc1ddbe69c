// The conversion program: rewrites the control references of Visual Basic
// projects from older libraries of the maker to the newer ones. It ends when
// its last window unloads.
#include "conversion/windows/MainForm.h"
#include "platform/forms/App.h"
#include "platform/forms/CommandLine.h"
#include "platform/system/TempFiles.h"

#include <QApplication>

namespace {

const char* const kUsage =
    "Usage: conversion\n"
    "Finds Visual Basic projects (.vbp) that reference older control libraries\n"
    "and rewrites those references to the newer libraries of a chosen\n"
    "conversion, keeping a .bak copy of every project it changes.\n"
    "It takes no arguments: its window asks for the conversion and the folders.\n";

}  // namespace

int main(int argc, char** argv)
{
    const forms::CommandLine line = forms::readCommandLine(argc, argv, kUsage, 0);
    if (line.exitStatus >= 0)
        return line.exitStatus;
    // Hand-over files of a Barwright that was killed before it removed them.
    sys::RemoveDeadTempFiles(QStringLiteral("~MQ"));
    QApplication app(argc, argv);
    forms::App::setTitle(QStringLiteral("Conversion"));
    forms::instance<MainForm>().Show();
    return forms::App::run();
}
