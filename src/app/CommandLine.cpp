#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {
struct Options
{
    QCommandLineOption toggle{
        QStringLiteral("toggle"),
        QStringLiteral("Open or close the popup of the running Stashwell (starting it first if needed).")};
    QCommandLineOption settings{
        QStringLiteral("settings"),
        QStringLiteral("Open the settings window of the running Stashwell (starting it first if needed).")};
    QCommandLineOption quit{QStringLiteral("quit"), QStringLiteral("Quit the running Stashwell.")};
    QCommandLineOption platform{QStringLiteral("platform"),
                                QStringLiteral("Use this desktop platform instead of the session's: x11 or wayland."),
                                QStringLiteral("name")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Print the version and exit.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help and exit.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.addOptions({toggle, settings, quit, platform, version, help});
    }
};
} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    const Options options;
    options.addTo(parser);
    CommandLine result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return result;
    }
    const QList<std::pair<const QCommandLineOption*, Request>> requests = {
        {&options.help, Request::Help},     {&options.version, Request::Version},
        {&options.toggle, Request::Toggle}, {&options.settings, Request::Settings},
        {&options.quit, Request::Quit},
    };
    int given = 0;
    for (const auto& [option, request] : requests) {
        if (parser.isSet(*option)) {
            ++given;
            if (given == 1) {
                result.request = request;
            }
        }
    }
    if (given > 1 && result.request != Request::Help) {
        result.error = QStringLiteral("Give at most one of --toggle, --settings, --quit and --version.");
        return result;
    }
    if (parser.isSet(options.platform)) {
        const QString name = parser.value(options.platform);
        if (name != QLatin1String("x11") && name != QLatin1String("wayland")) {
            result.error = QStringLiteral("Unknown platform '%1': use x11 or wayland.").arg(name);
            return result;
        }
        result.platform = name;
    }
    return result;
}

QString CommandLine::usage()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stashwell: a clipboard history in the tray."));
    Options().addTo(parser);
    // helpText() names the program from QCoreApplication when there is one.
    QString text = parser.helpText();
    text.replace(QRegularExpression(QStringLiteral("^Usage: \\S*")), QStringLiteral("Usage: stashwell"));
    return text;
}
