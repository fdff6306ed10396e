// Shared set-up of the fuzz targets: an offscreen Qt application for text documents and images.
#pragma once

#include <QGuiApplication>
#include <QtGlobal>

inline void startOffscreenApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication app(*argc, *argv);
}
