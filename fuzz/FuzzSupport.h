// Shared set-up of the fuzz targets: an offscreen Qt application for text documents and images,
// started before the first input of every target that includes this header.
#pragma once

#include <QGuiApplication>
#include <QtGlobal>

inline void startOffscreenApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication app(*argc, *argv);
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    startOffscreenApplication(argc, argv);
    return 0;
}
