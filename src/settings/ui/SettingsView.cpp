// The settings window's layout and its bindings; changing the shortcut and the ignored apps is
// the work of ShortcutCommit and IgnoredApps.
#include "settings/ui/SettingsView.h"

#include "Version.h"
#include "history/ClipboardStore.h"
#include "hotkey/HotkeyManager.h"
#include "hotkey/ui/HotkeyRecorderView.h"
#include "paste/Pasteboard.h"
#include "platform/Platform.h"
#include "platform/SystemFont.h"
#include "popup/AppIcon.h"
#include "settings/AppSettings.h"
#include "settings/SettingsText.h"
#include "settings/SliderScale.h"
#include "settings/ui/AppPickerDialog.h"
#include "settings/ui/IgnoredAppsList.h"
#include "settings/ui/SettingsSlider.h"
#include "settings/ui/SettingsStyle.h"
#include "settings/ui/SettingsToggle.h"
#include "settings/ui/SymbolImage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// A thin line between the header and the settings, at the separator's faint strength.
class Divider : public QWidget
{
public:
    explicit Divider(QWidget* parent) : QWidget(parent) { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QColor color = palette().color(QPalette::WindowText);
        color.setAlphaF(0.3 * 0.5);
        painter.fillRect(rect(), color);
    }
};

QSlider* steppedSlider(const SliderScale& scale, QWidget* parent)
{
    auto* slider = new SettingsSlider(parent);
    slider->setRange(0, scale.positionCount());
    slider->setSingleStep(1);
    slider->setPageStep(std::max(1, scale.positionCount() / 10));
    return slider;
}

void setSliderPosition(QSlider* slider, int position)
{
    // Showing a stored value must never write it back: QSlider announces its own clamping.
    const QSignalBlocker blocker(slider);
    slider->setValue(position);
}

// A step of the shortcut commit for the recorder, which may report after the view is gone.
template <typename... Args>
std::function<void(Args...)> whileAlive(QPointer<ShortcutCommit> commit, void (ShortcutCommit::*step)(Args...))
{
    return [commit, step](Args... args) {
        if (commit) {
            (commit.data()->*step)(args...);
        }
    };
}

// A horizontal stack: the row, a flexible spacer, then the trailing widgets.
QWidget* trailing(QWidget* row, const QList<QWidget*>& widgets, Qt::Alignment alignment, QWidget* parent)
{
    auto* line = new QWidget(parent);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(row, 1, alignment);
    for (QWidget* widget : widgets) {
        layout->addWidget(widget, 0, alignment);
    }
    return line;
}
} // namespace

using namespace SettingsStyle;

SettingsView::Services SettingsView::Services::shared()
{
    Services services;
    services.suspendShortcut = [] { HotkeyManager::shared().suspendShortcut(); };
    services.resumeShortcut = [] { return HotkeyManager::shared().resumeShortcut(); };
    services.reloadShortcut = [] { return HotkeyManager::shared().reloadShortcut(); };
    services.hasAccessibilityPermission = [] { return Pasteboard::hasAccessibilityPermission(false); };
    services.appIcon = [](const QString& bundleID) { return AppIcon::icon(bundleID); };
    services.beep = [] { QApplication::beep(); };
    services.quit = [] { QCoreApplication::quit(); };
    services.desktop = Platform::current().desktop;
    return services;
}

SettingsView::SettingsView(QWidget* parent)
    : SettingsView(AppSettings::shared(), ClipboardStore::shared(), Services::shared(), parent)
{}

SettingsView::SettingsView(AppSettings& settings, ClipboardStore& store, Services services, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_store(store), m_services(std::move(services)),
      m_shortcutCommit(settings, {m_services.suspendShortcut, m_services.resumeShortcut, m_services.reloadShortcut,
                                  m_services.beep}),
      m_ignoredApps(settings, m_services.desktop)
{
    m_accessibilityGranted = m_services.hasAccessibilityPermission && m_services.hasAccessibilityPermission();

    setFixedSize(width, height);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    // A click on empty space takes the focus, which ends a shortcut recording as a click elsewhere should.
    setFocusPolicy(Qt::ClickFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header());
    layout->addWidget(new Divider(this));

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->setAutoFillBackground(false);
    scroll->verticalScrollBar()->setStyleSheet(slimScrollBarStyle(palette()));
    auto* content = new QWidget(scroll);
    content->setAutoFillBackground(false);
    content->setFocusPolicy(Qt::ClickFocus);
    auto* sections = new QVBoxLayout(content);
    sections->setContentsMargins(24, 24, 24, 24);
    sections->setSpacing(24);
    sections->addWidget(generalSection());
    sections->addWidget(historySection());
    sections->addWidget(popupSection());
    sections->addWidget(privacySection());
    sections->addWidget(aboutSection());
    sections->addStretch();
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    connect(&m_settings, &AppSettings::launchAtLoginChanged, this, &SettingsView::showLaunchAtLogin);
    connect(&m_settings, &AppSettings::pauseCaptureChanged, this, &SettingsView::showPauseCapture);
    connect(&m_settings, &AppSettings::maxHistoryItemsChanged, this, &SettingsView::showMaxHistoryItems);
    connect(&m_settings, &AppSettings::clearOnQuitChanged, this, &SettingsView::showClearOnQuit);
    connect(&m_store, &ClipboardStore::itemsChanged, this, &SettingsView::showItemCount);
    connect(&m_settings, &AppSettings::hotkeyShortcutChanged, this, &SettingsView::showHotkeyShortcut);
    connect(&m_settings, &AppSettings::autoPasteOnSelectChanged, this, &SettingsView::showAutoPaste);
    connect(&m_settings, &AppSettings::popupHeightFractionChanged, this, &SettingsView::showPopupHeight);
    connect(&m_settings, &AppSettings::ignoredBundleIDsChanged, this, &SettingsView::showIgnoredApps);
    connect(&m_shortcutCommit, &ShortcutCommit::errorChanged, this, &SettingsView::showHotkeyError);

    showLaunchAtLogin();
    showPauseCapture();
    showMaxHistoryItems();
    showClearOnQuit();
    showItemCount();
    showHotkeyShortcut();
    showAutoPaste();
    showPopupHeight();
    showIgnoredApps();

    m_accessibilityPoll.setInterval(1000);
    connect(&m_accessibilityPoll, &QTimer::timeout, this, &SettingsView::pollAccessibility);
}

SettingsView::~SettingsView()
{
    // The recorder may still report a cancel while the widgets are torn down; nobody listens now.
    m_recorder->button()->setCallbacks({});
}

// --- structure ---------------------------------------------------------------------------------

QWidget* SettingsView::header()
{
    auto* header = new QWidget(this);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(14);
    layout->addWidget(logo(), 0, Qt::AlignVCenter);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addStretch();
    titles->addWidget(label(QStringLiteral("Stashwell"), SystemFont::regular(22, QFont::DemiBold), header));
    titles->addWidget(secondaryLabel(QStringLiteral("Clipboard manager"), SystemFont::regular(12), header));
    titles->addStretch();
    layout->addLayout(titles);
    layout->addStretch();
    return header;
}

QWidget* SettingsView::logo()
{
    auto* logo = new QLabel(this);
    logo->setFixedSize(64, 64);
    logo->setAlignment(Qt::AlignCenter);
    const qreal ratio = devicePixelRatioF();
    QImageReader reader(QStringLiteral(":/resources/images/Logo.png"));
    QImage image = reader.read();
    if (!image.isNull()) {
        const int pixels = qRound(64 * ratio);
        QPixmap pixmap =
            QPixmap::fromImage(image.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        pixmap.setDevicePixelRatio(ratio);
        logo->setPixmap(pixmap);
    } else {
        logo->setPixmap(
            SymbolImage::pixmap(QStringLiteral("doc.on.clipboard"), 32, palette().color(QPalette::Highlight), ratio));
    }
    logo->setAccessibleName(QStringLiteral("Stashwell"));
    return logo;
}

QWidget* SettingsView::section(const QString& title, const QList<QWidget*>& content)
{
    auto* section = new QWidget(this);
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    QFont titleFont = SystemFont::regular(11, QFont::DemiBold);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    layout->addWidget(secondaryLabel(title.toUpper(), titleFont, section));
    for (QWidget* widget : content) {
        layout->addWidget(widget);
    }
    return section;
}

QWidget* SettingsView::row(const QString& title, const QString& detail)
{
    auto* row = new QWidget(this);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(label(title, SystemFont::regular(13, QFont::Medium), row));
    QLabel* detailLabel = secondaryLabel(detail, SystemFont::regular(11), row);
    detailLabel->setWordWrap(true);
    layout->addWidget(detailLabel);
    row->setAccessibleName(title);
    return row;
}

QWidget* SettingsView::generalSection()
{
    m_launchAtLogin = new SettingsToggle(
        row(QStringLiteral("Launch at login"), QStringLiteral("Start Stashwell automatically when you log in.")), this);
    m_launchAtLogin->setObjectName(QStringLiteral("launchAtLogin"));
    connect(m_launchAtLogin, &SettingsToggle::toggledByUser, &m_settings, &AppSettings::setLaunchAtLogin);

    m_pauseCapture = new SettingsToggle(row(QStringLiteral("Pause clipboard capture"),
                                            QStringLiteral("Stop recording new copies. Existing history stays.")),
                                        this);
    m_pauseCapture->setObjectName(QStringLiteral("pauseCapture"));
    connect(m_pauseCapture, &SettingsToggle::toggledByUser, &m_settings, &AppSettings::setPauseCapture);

    return section(QStringLiteral("General"), {m_launchAtLogin, m_pauseCapture});
}

QWidget* SettingsView::historySection()
{
    m_maxHistoryItemsValue = secondaryLabel(QString(), SystemFont::monospaced(13, QFont::Medium), this);
    m_maxHistoryItemsValue->setObjectName(QStringLiteral("maxHistoryItemsValue"));
    m_maxHistoryItemsValue->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_maxHistoryItemsValue->setMinimumWidth(50);
    QWidget* capRow =
        trailing(row(QStringLiteral("Maximum items"), QStringLiteral("Pinned items don't count toward this cap.")),
                 {m_maxHistoryItemsValue}, Qt::AlignTop, this);

    m_maxHistoryItemsSlider = steppedSlider(SliderScale::maxHistoryItems, this);
    m_maxHistoryItemsSlider->setObjectName(QStringLiteral("maxHistoryItemsSlider"));
    m_maxHistoryItemsSlider->setAccessibleName(QStringLiteral("Maximum items"));
    connect(m_maxHistoryItemsSlider, &QSlider::valueChanged, this, [this](int position) {
        // Every step, also while dragging, stores the cap and trims the history at once.
        m_settings.setMaxHistoryItems(SliderScale::maxHistoryItemsFor(SliderScale::maxHistoryItems.valueAt(position)));
    });

    m_clearOnQuit = new SettingsToggle(row(QStringLiteral("Clear history on quit"),
                                           QStringLiteral("Wipe everything except pinned items when Stashwell exits.")),
                                       this);
    m_clearOnQuit->setObjectName(QStringLiteral("clearOnQuit"));
    connect(m_clearOnQuit, &SettingsToggle::toggledByUser, &m_settings, &AppSettings::setClearOnQuit);

    m_itemCount = secondaryLabel(QString(), SystemFont::regular(12), this);
    m_itemCount->setObjectName(QStringLiteral("itemCount"));
    auto* clearNow = new QPushButton(QStringLiteral("Clear History Now"), this);
    clearNow->setObjectName(QStringLiteral("clearHistoryNow"));
    setTextColor(clearNow, destructiveRed);
    connect(clearNow, &QPushButton::clicked, this, [this] { m_store.clearAll(); });
    auto* countLine = new QWidget(this);
    auto* countLayout = new QHBoxLayout(countLine);
    countLayout->setContentsMargins(0, 6, 0, 0);
    countLayout->addWidget(m_itemCount, 1, Qt::AlignVCenter);
    countLayout->addWidget(clearNow, 0, Qt::AlignVCenter);

    return section(QStringLiteral("History"), {capRow, m_maxHistoryItemsSlider, m_clearOnQuit, countLine});
}

QWidget* SettingsView::popupSection()
{
    m_recorder = new HotkeyRecorderView(this);
    m_recorder->setObjectName(QStringLiteral("hotkeyRecorder"));
    m_recorder->configure(m_settings.hotkeyShortcut(), recorderCallbacks());
    auto* reset = new QToolButton(this);
    reset->setObjectName(QStringLiteral("resetShortcut"));
    reset->setAutoRaise(true);
    reset->setIcon(SymbolImage::icon(QStringLiteral("arrow.counterclockwise"), 16, secondaryColor(palette())));
    reset->setIconSize(QSize(16, 16));
    reset->setToolTip(QStringLiteral("Reset shortcut"));
    reset->setAccessibleName(QStringLiteral("Reset shortcut"));
    reset->setCursor(Qt::PointingHandCursor);
    connect(reset, &QToolButton::clicked, this,
            [this] { m_shortcutCommit.commit(HotkeyShortcut::defaultShortcut()); });
    QWidget* shortcutRow =
        trailing(row(QStringLiteral("Keyboard shortcut"), QStringLiteral("Open the clipboard popup from anywhere.")),
                 {m_recorder, reset}, Qt::AlignVCenter, this);

    m_hotkeyErrorLabel = label(QString(), SystemFont::regular(11), this);
    m_hotkeyErrorLabel->setObjectName(QStringLiteral("hotkeyError"));
    m_hotkeyErrorLabel->setWordWrap(true);
    setTextColor(m_hotkeyErrorLabel, destructiveRed);
    m_hotkeyErrorLabel->hide();

    m_autoPaste = new SettingsToggle(
        row(QStringLiteral("Auto-paste on selection"),
            QStringLiteral("Types Ctrl+V into the window you were working in after you pick a clip.")),
        this);
    m_autoPaste->setObjectName(QStringLiteral("autoPasteOnSelect"));
    connect(m_autoPaste, &SettingsToggle::toggledByUser, &m_settings, &AppSettings::setAutoPasteOnSelect);

    // There is no settings page to send the user to on X11: the "permission" is the XTEST
    // extension of the X server, so the warning explains itself instead of offering a link.
    m_accessibilityWarning = new QWidget(this);
    m_accessibilityWarning->setObjectName(QStringLiteral("accessibilityWarning"));
    m_accessibilityWarning->setToolTip(
        QStringLiteral("Auto-paste types the paste keys through the X server's XTEST extension, which this "
                       "display does not offer. Stashwell still puts the clip on the clipboard."));
    auto* warningLayout = new QHBoxLayout(m_accessibilityWarning);
    warningLayout->setContentsMargins(0, 0, 0, 0);
    warningLayout->setSpacing(6);
    auto* warningIcon = new QLabel(m_accessibilityWarning);
    warningIcon->setPixmap(
        SymbolImage::pixmap(QStringLiteral("exclamationmark.triangle.fill"), 13, warningOrange, devicePixelRatioF()));
    warningLayout->addWidget(warningIcon, 0, Qt::AlignVCenter);
    warningLayout->addWidget(label(QStringLiteral("Auto-paste is not available on this display."),
                                   SystemFont::regular(11), m_accessibilityWarning),
                             0, Qt::AlignVCenter);
    warningLayout->addStretch();

    m_popupHeightValue = secondaryLabel(QString(), SystemFont::monospaced(13, QFont::Medium), this);
    m_popupHeightValue->setObjectName(QStringLiteral("popupHeightValue"));
    m_popupHeightValue->setAlignment(Qt::AlignRight | Qt::AlignTop);
    m_popupHeightValue->setMinimumWidth(50);
    QWidget* heightRow =
        trailing(row(QStringLiteral("Popup height"), QStringLiteral("Fraction of screen height the bar occupies.")),
                 {m_popupHeightValue}, Qt::AlignTop, this);

    m_popupHeightSlider = steppedSlider(SliderScale::popupHeightFraction, this);
    m_popupHeightSlider->setObjectName(QStringLiteral("popupHeightSlider"));
    m_popupHeightSlider->setAccessibleName(QStringLiteral("Popup height"));
    connect(m_popupHeightSlider, &QSlider::valueChanged, this, [this](int position) {
        m_settings.setPopupHeightFraction(SliderScale::popupHeightFraction.valueAt(position));
    });

    return section(QStringLiteral("Popup"), {shortcutRow, m_hotkeyErrorLabel, m_autoPaste, m_accessibilityWarning,
                                             heightRow, m_popupHeightSlider});
}

QWidget* SettingsView::privacySection()
{
    QWidget* heading = row(QStringLiteral("Ignored apps"),
                           QStringLiteral("Copies coming from these apps are skipped. Password managers and other "
                                          "apps that flag content as concealed are always skipped automatically."));

    m_ignoredAppsList = new IgnoredAppsList(this);
    m_ignoredAppsList->setObjectName(QStringLiteral("ignoredApps"));
    connect(m_ignoredAppsList, &IgnoredAppsList::removeRequested, this,
            [this](const QString& bundleID) { m_ignoredApps.remove(bundleID); });

    auto* add = new QPushButton(QStringLiteral("Add App\u2026"), this);
    add->setObjectName(QStringLiteral("addApp"));
    connect(add, &QPushButton::clicked, this, &SettingsView::pickAppToIgnore);
    auto* addLine = new QWidget(this);
    auto* addLayout = new QHBoxLayout(addLine);
    addLayout->setContentsMargins(0, 0, 0, 0);
    addLayout->addWidget(add);
    addLayout->addStretch();

    return section(QStringLiteral("Privacy"), {heading, m_ignoredAppsList, addLine});
}

QWidget* SettingsView::aboutSection()
{
    auto* about = new QWidget(this);
    auto* layout = new QHBoxLayout(about);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    QLabel* version = label(SettingsText::version(STASHWELL_VERSION), SystemFont::regular(12, QFont::Medium), about);
    version->setObjectName(QStringLiteral("version"));
    texts->addWidget(version);
    m_popupHint = secondaryLabel(QString(), SystemFont::regular(11), about);
    m_popupHint->setObjectName(QStringLiteral("popupHint"));
    texts->addWidget(m_popupHint);
    layout->addLayout(texts, 1);
    auto* quit = new QPushButton(QStringLiteral("Quit Stashwell"), about);
    quit->setObjectName(QStringLiteral("quit"));
    connect(quit, &QPushButton::clicked, this, [this] {
        if (m_services.quit) {
            m_services.quit();
        }
    });
    layout->addWidget(quit, 0, Qt::AlignVCenter);
    return section(QStringLiteral("About"), {about});
}

// --- behaviour ---------------------------------------------------------------------------------

RecorderCallbacks SettingsView::recorderCallbacks()
{
    QPointer<ShortcutCommit> commit(&m_shortcutCommit);
    RecorderCallbacks callbacks;
    callbacks.onBeginRecording = whileAlive(commit, &ShortcutCommit::beginRecording);
    callbacks.onCancelRecording = whileAlive(commit, &ShortcutCommit::cancelRecording);
    callbacks.onInvalidShortcut = whileAlive(commit, &ShortcutCommit::rejectInvalid);
    callbacks.onCommit = whileAlive(commit, &ShortcutCommit::commit);
    return callbacks;
}

void SettingsView::pickAppToIgnore()
{
    QPointer<SettingsView> self(this);
    const std::optional<QString> chosen = AppPickerDialog::choose(window(), m_ignoredApps.existingApplicationFolders());
    if (self && chosen) {
        m_ignoredApps.ignoreApplicationAt(*chosen);
    }
}

void SettingsView::pollAccessibility()
{
    const bool granted = m_services.hasAccessibilityPermission && m_services.hasAccessibilityPermission();
    if (granted != m_accessibilityGranted) {
        m_accessibilityGranted = granted;
        showAutoPaste();
    }
}

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_accessibilityPoll.start();
}

void SettingsView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_accessibilityPoll.stop();
}

// --- model to view -----------------------------------------------------------------------------

void SettingsView::showHotkeyError()
{
    const std::optional<QString>& message = m_shortcutCommit.error();
    m_hotkeyErrorLabel->setText(message.value_or(QString()));
    m_hotkeyErrorLabel->setVisible(message.has_value());
}

void SettingsView::showLaunchAtLogin()
{
    m_launchAtLogin->setChecked(m_settings.launchAtLogin());
}

void SettingsView::showPauseCapture()
{
    m_pauseCapture->setChecked(m_settings.pauseCapture());
}

void SettingsView::showMaxHistoryItems()
{
    const std::int64_t cap = m_settings.maxHistoryItems();
    m_maxHistoryItemsValue->setText(SettingsText::maxHistoryItems(cap));
    setSliderPosition(m_maxHistoryItemsSlider, SliderScale::maxHistoryItems.positionFor(static_cast<double>(cap)));
}

void SettingsView::showClearOnQuit()
{
    m_clearOnQuit->setChecked(m_settings.clearOnQuit());
}

void SettingsView::showItemCount()
{
    m_itemCount->setText(SettingsText::itemCount(m_store.items().size()));
}

void SettingsView::showHotkeyShortcut()
{
    m_recorder->setShortcut(m_settings.hotkeyShortcut());
    m_popupHint->setText(SettingsText::popupHint(m_settings.hotkeyShortcut()));
}

void SettingsView::showAutoPaste()
{
    m_autoPaste->setChecked(m_settings.autoPasteOnSelect());
    m_accessibilityWarning->setVisible(m_settings.autoPasteOnSelect() && !m_accessibilityGranted);
}

void SettingsView::showPopupHeight()
{
    const double fraction = m_settings.popupHeightFraction();
    m_popupHeightValue->setText(SettingsText::heightPercent(fraction));
    setSliderPosition(m_popupHeightSlider, SliderScale::popupHeightFraction.positionFor(fraction));
}

void SettingsView::showIgnoredApps()
{
    QList<IgnoredAppsList::Entry> entries;
    for (const QString& id : m_ignoredApps.ids()) {
        entries.append({id, m_ignoredApps.displayName(id), m_services.appIcon ? m_services.appIcon(id) : QIcon()});
    }
    m_ignoredAppsList->setEntries(entries);
}
