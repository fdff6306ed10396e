// Helpers shared by the unit tests: a temporary folder with a fake platform installed over it.
#pragma once

#include "history/ClipboardItem.h"
#include "platform/fake/FakePlatform.h"

#include <QByteArray>
#include <QImage>
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
// The permission bits of a file or folder (of a link itself, not what it points to); 0 if it is missing.
unsigned fileMode(const QString& path);
// A text entry, as a copy of `text` would make it.
ClipboardItem textItem(const QString& text, bool pinned = false);
// `image` encoded in `format` ("png", "tiff"...).
QByteArray encodedImage(const QImage& image, const char* format = "png");
// Runs the Qt event loop until `done` holds or `timeoutMs` passes; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
