// Helpers shared by the unit tests: a temporary folder with a fake platform installed over it.
#pragma once

#include "platform/fake/FakePlatform.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

// A fresh temporary folder and a fake platform whose data folder lives in it, installed as the
// current platform for the lifetime of the object.
class FakeEnvironment
{
public:
    FakeEnvironment();
    QString path() const { return m_dir.path(); }
    QString historyFolder() const { return m_dir.path() + QStringLiteral("/Stashwell"); }

    FakePlatform platform;

private:
    QTemporaryDir m_dir;
};

QByteArray readFileBytes(const QString& path);
bool writeFileBytes(const QString& path, const QByteArray& bytes);
// Runs the Qt event loop until `done` holds or `timeoutMs` passes; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
