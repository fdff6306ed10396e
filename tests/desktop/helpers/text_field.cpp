// "Another application" that receives pastes: a window with one text field that prints its text on
// every change, and every key combination it receives, on standard output.
//
//   text_field [window-class]     (a class such as "xterm" makes it look like a terminal)
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
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
} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    if (argc > 1) {
        // WM_CLASS is (program name, application name): set both.
        QApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
    }
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("Stashwell test field"));
    field.resize(400, 40);
    KeyLogger logger;
    field.installEventFilter(&logger);
    QObject::connect(&field, &QLineEdit::textChanged, [](const QString& text) { say(QStringLiteral("text ") + text); });
    field.show();
    field.activateWindow();
    say(QStringLiteral("window %1").arg(field.winId()));
    return app.exec();
}
