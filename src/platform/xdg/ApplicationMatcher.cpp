#include "platform/xdg/ApplicationMatcher.h"

#include "platform/xdg/DesktopEntryIndex.h"

#include <QFile>
#include <QFileInfo>

namespace {
ApplicationIdentity fromEntry(const DesktopEntryIndex::Entry& entry, const WindowFacts& facts)
{
    ApplicationIdentity identity;
    identity.bundleID = entry.id;
    if (!entry.name.isEmpty()) {
        identity.name = entry.name;
    } else if (!facts.wmClass.isEmpty()) {
        identity.name = facts.wmClass;
    }
    return identity;
}
} // namespace

ApplicationIdentity ApplicationMatcher::identify(const WindowFacts& facts, DesktopEntryIndex& entries)
{
    entries.refreshIfChanged();
    const QString names[] = {facts.wmClass, facts.wmInstance};

    if (!facts.gtkApplicationId.isEmpty()) {
        if (const auto entry = entries.byId(facts.gtkApplicationId)) {
            return fromEntry(*entry, facts);
        }
        ApplicationIdentity identity;
        identity.bundleID = facts.gtkApplicationId;
        if (!facts.wmClass.isEmpty()) {
            identity.name = facts.wmClass;
        }
        return identity;
    }
    for (const QString& name : names) {
        if (!name.isEmpty()) {
            if (const auto entry = entries.byStartupWMClass(name)) {
                return fromEntry(*entry, facts);
            }
        }
    }
    for (const QString& name : names) {
        if (!name.isEmpty()) {
            if (const auto entry = entries.byIdIgnoringCase(name)) {
                return fromEntry(*entry, facts);
            }
        }
    }
    if (!facts.executable.isEmpty()) {
        if (auto entry = entries.byIdIgnoringCase(facts.executable)) {
            return fromEntry(*entry, facts);
        }
        if (auto entry = entries.byExecutable(facts.executable)) {
            return fromEntry(*entry, facts);
        }
        ApplicationIdentity identity;
        identity.bundleID = facts.executable;
        if (!facts.wmClass.isEmpty()) {
            identity.name = facts.wmClass;
        }
        return identity;
    }
    ApplicationIdentity identity;
    if (!facts.wmClass.isEmpty()) {
        identity.bundleID = facts.wmClass;
        identity.name = facts.wmClass;
    }
    return identity;
}

QString ApplicationMatcher::executableOfProcess(std::int64_t pid)
{
    if (pid <= 0) {
        return {};
    }
    const QString proc = QStringLiteral("/proc/%1/").arg(pid);
    QString target = QFileInfo(proc + QStringLiteral("exe")).symLinkTarget();
    if (!target.isEmpty()) {
        // A program replaced on disk while running (an upgrade) still names the same application.
        target.remove(QStringLiteral(" (deleted)"));
        return QFileInfo(target).fileName();
    }
    // Another user's process: its exe link is private, its short name is not.
    QFile comm(proc + QStringLiteral("comm"));
    if (comm.open(QIODevice::ReadOnly)) {
        return QString::fromUtf8(comm.readAll()).trimmed();
    }
    return {};
}
