// "Another application" that copies and receives pastes: a window with one text field that prints
// its text on every change, and every key combination it receives, on standard output.
//
//   text_field [window-class] [--class NAME] [--rich] [--html HTML]
//
// The window class (a class such as "xterm" makes it look like a terminal) becomes WM_CLASS, so a
// desktop entry with that StartupWMClass names the application. --rich shows a rich-text editor
// instead of a one-line field; it also prints "rich" and the formatting its document holds (bold,
// italic, link, heading, list, or none), so a test sees whether a paste kept the formatting.
// --html starts the rich editor with that document.
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <cstdio>

namespace {
void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class KeyLogger : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() != Qt::NoModifier && key->key() < Qt::Key_Shift) {
                say(QStringLiteral("key ") + QKeySequence(key->keyCombination()).toString());
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The kinds of formatting a document holds, in a fixed order.
QString formattingOf(const QTextDocument& document)
{
    bool bold = false, italic = false, link = false, heading = false, list = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        heading = heading || block.blockFormat().headingLevel() > 0;
        list = list || block.textList() != nullptr;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.text().trimmed().isEmpty()) {
                continue;
            }
            const QTextCharFormat format = fragment.charFormat();
            bold = bold || format.fontWeight() >= QFont::Bold;
            italic = italic || format.fontItalic();
            link = link || format.isAnchor();
        }
    }
    QStringList found;
    const std::pair<bool, const char*> kinds[] = {
        {bold, "bold"}, {italic, "italic"}, {link, "link"}, {heading, "heading"}, {list, "list"}};
    for (const auto& [present, name] : kinds) {
        if (present) {
            found << QString::fromLatin1(name);
        }
    }
    return found.isEmpty() ? QStringLiteral("none") : found.join(QLatin1Char(','));
}
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QString windowClass;
    QString html;
    bool rich = false;
    const QStringList args = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--rich")) {
            rich = true;
        } else if (args.at(i) == QLatin1String("--class") && i + 1 < args.size()) {
            windowClass = args.at(++i);
        } else if (args.at(i) == QLatin1String("--html") && i + 1 < args.size()) {
            html = args.at(++i);
            rich = true;
        } else if (!args.at(i).startsWith(QLatin1String("--"))) {
            windowClass = args.at(i);
        } else {
            std::fprintf(stderr, "text_field: unknown argument %s\n", qPrintable(args.at(i)));
            return 2;
        }
    }
    if (!windowClass.isEmpty()) {
        // The application name is WM_CLASS's class part.
        QApplication::setApplicationName(windowClass);
    }
    KeyLogger logger;
    QWidget* window = nullptr;
    QLineEdit line;
    QTextEdit editor;
    if (rich) {
        window = &editor;
        editor.setAcceptRichText(true);
        editor.resize(520, 220);
        QObject::connect(&editor, &QTextEdit::textChanged, [&editor] {
            QString text = editor.toPlainText();
            text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            say(QStringLiteral("text ") + text);
            say(QStringLiteral("rich ") + formattingOf(*editor.document()));
        });
        if (!html.isEmpty()) {
            editor.setHtml(html);
        }
    } else {
        window = &line;
        line.resize(400, 40);
        QObject::connect(&line, &QLineEdit::textChanged,
                         [](const QString& text) { say(QStringLiteral("text ") + text); });
    }
    window->setWindowTitle(QStringLiteral("Stashwell test field"));
    window->installEventFilter(&logger);
    window->show();
    window->activateWindow();
    say(QStringLiteral("window %1").arg(window->winId()));
    return app.exec();
}
