// The history's costs at a realistic size: loading, adding to and saving 1,000 entries of mixed kinds.
#include "history/ClipboardStore.h"
#include "history/HistoryFile.h"
#include "platform/fake/ManualScheduler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int historySize = 1000;

// Entry `n` of a history whose files live in `folder`; every tenth of the first hundred is pinned.
ClipboardItem mixedItem(int n, const QString& folder)
{
    ClipboardItem item;
    item.createdAt = QDateTime::currentDateTimeUtc().addSecs(-n);
    item.sourceBundleID = QStringLiteral("org.example.App%1").arg(n % 7);
    item.sourceAppName = QStringLiteral("Example %1").arg(n % 7);
    item.isPinned = n < 100 && n % 10 == 0;
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString body = QStringLiteral("Entry %1: ").arg(n) + QString(160, QLatin1Char('x'));
    switch (n % 20) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        item.kind = ClipboardKind::text;
        item.text = body;
        item.characterCount = body.size();
        break;
    case 8:
    case 9:
    case 10:
        item.kind = ClipboardKind::richText;
        item.text = body;
        item.assetPath = folder + QStringLiteral("/assets/") + uuid + QStringLiteral(".rtf");
        break;
    case 11:
    case 12:
        item.kind = ClipboardKind::html;
        item.text = body;
        item.assetPath = folder + QStringLiteral("/assets/") + uuid + QStringLiteral(".html");
        break;
    case 13:
    case 14:
        item.kind = ClipboardKind::link;
        item.text = QStringLiteral("https://example.org/page/%1").arg(n);
        break;
    case 15:
    case 16:
        item.kind = ClipboardKind::image;
        item.imagePath = folder + QStringLiteral("/images/") + uuid + QStringLiteral(".png");
        item.thumbnailPath = item.imagePath;
        item.imageWidth = 1920;
        item.imageHeight = 1080;
        item.contentHash = sha256Prefix(uuid.toUtf8());
        break;
    case 17:
        item.kind = ClipboardKind::pdf;
        item.assetPath = folder + QStringLiteral("/assets/") + uuid + QStringLiteral(".pdf");
        item.imageWidth = 612;
        item.imageHeight = 792;
        item.contentHash = sha256Prefix(uuid.toUtf8());
        break;
    case 18:
        item.kind = ClipboardKind::color;
        item.colorHex = QStringLiteral("#%1").arg(n * 2654435761u % 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
        break;
    default:
        item.kind = ClipboardKind::file;
        item.filePaths = QStringList{QStringLiteral("/home/user/file%1.txt").arg(n), QStringLiteral("/home/user/b")};
        break;
    }
    return item;
}

// A history folder with 1,000 entries in history.json and a small file for each image and document.
class HistoryFolder
{
public:
    HistoryFolder()
    {
        folder = dir.path() + QStringLiteral("/Stashwell");
        QDir().mkpath(folder + QStringLiteral("/images"));
        QDir().mkpath(folder + QStringLiteral("/assets"));
        for (int n = 0; n < historySize; ++n) {
            items.append(mixedItem(n, folder));
            for (const auto* path : {&items.last().imagePath, &items.last().assetPath}) {
                if (*path) {
                    QFile file(**path);
                    file.open(QIODevice::WriteOnly);
                    file.write("data");
                }
            }
        }
        json = HistoryFile::encode(items);
        QFile file(folder + QStringLiteral("/history.json"));
        file.open(QIODevice::WriteOnly);
        file.write(json);
    }

    QTemporaryDir dir;
    QString folder;
    QList<ClipboardItem> items;
    QByteArray json;
};

HistoryFolder& history()
{
    static HistoryFolder folder;
    return folder;
}

void BM_DecodeHistoryFile(benchmark::State& state)
{
    const QByteArray& json = history().json;
    for (auto _ : state) {
        auto items = HistoryFile::decode(json);
        benchmark::DoNotOptimize(items);
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_DecodeHistoryFile)->Unit(benchmark::kMillisecond);

// Creating the store: read and decode history.json, then sweep the images and assets folders.
void BM_LoadStore(benchmark::State& state)
{
    ManualScheduler scheduler;
    for (auto _ : state) {
        ClipboardStore store(history().folder, scheduler, [] { return std::int64_t{historySize}; });
        if (store.items().size() != historySize) {
            state.SkipWithError("history did not load");
            break;
        }
    }
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

// A new copy at the cap: the duplicate search over every entry, then trimming the oldest one.
void BM_AddNewAtCap(benchmark::State& state)
{
    // Trimming deletes the files of the oldest entries: a folder of its own.
    HistoryFolder own;
    ManualScheduler scheduler;
    ClipboardStore store(own.folder, scheduler, [] { return std::int64_t{historySize}; });
    int n = historySize;
    for (auto _ : state) {
        ClipboardItem item = mixedItem(n++, QStringLiteral("/nowhere"));
        item.isPinned = false;
        store.add(item);
    }
}
BENCHMARK(BM_AddNewAtCap)->Unit(benchmark::kMicrosecond);

// Copying the content of the oldest entry again: it is removed and a new entry goes on top.
void BM_AddDuplicate(benchmark::State& state)
{
    ManualScheduler scheduler;
    ClipboardStore store(history().folder, scheduler, [] { return std::int64_t{historySize}; });
    for (auto _ : state) {
        ClipboardItem again = store.items().last();
        again.id = QUuid::createUuid();
        store.add(again);
    }
}
BENCHMARK(BM_AddDuplicate)->Unit(benchmark::kMicrosecond);

void BM_EncodeHistory(benchmark::State& state)
{
    const QList<ClipboardItem>& items = history().items;
    for (auto _ : state) {
        QByteArray json = HistoryFile::encode(items);
        benchmark::DoNotOptimize(json);
    }
}
BENCHMARK(BM_EncodeHistory)->Unit(benchmark::kMillisecond);

// The whole write: encode, temporary file, fsync, rename over history.json, fsync of the folder.
void BM_SaveHistory(benchmark::State& state)
{
    ManualScheduler scheduler;
    ClipboardStore store(history().folder, scheduler, [] { return std::int64_t{historySize}; });
    for (auto _ : state) {
        store.flush();
    }
    state.SetBytesProcessed(state.iterations() * history().json.size());
}
BENCHMARK(BM_SaveHistory)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
