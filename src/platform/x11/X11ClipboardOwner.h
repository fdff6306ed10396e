// Serves our content on the CLIPBOARD selection until another program takes it.
#pragma once

#include "platform/PasteboardContent.h"

#include <QObject>

class X11ClipboardOwner : public QObject
{
    Q_OBJECT
public:
    explicit X11ClipboardOwner(QObject* parent = nullptr);
    ~X11ClipboardOwner() override;

    // Takes the selection once with exactly this content (an empty content owns it with no targets).
    void replace(const PasteboardContent& content);
};
