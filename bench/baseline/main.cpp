// The smallest Qt Widgets program with the same kind of window as Sumwise's
// main window: a menu bar, a group of radio buttons, a line edit and three push
// buttons. startup_bench.sh sets our start-up time, memory and idle CPU beside
// this one's; whatever Sumwise needs beyond it is our own doing.

#include <QApplication>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

void buildMenus(QMainWindow& window)
{
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QAction* quit = file->addAction(QStringLiteral("Quit"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QObject::connect(quit, &QAction::triggered, qApp, &QApplication::quit);
    QMenu* sound = window.menuBar()->addMenu(QStringLiteral("Sound"));
    for (const QString& text : {QStringLiteral("On"), QStringLiteral("Off")})
        sound->addAction(text)->setCheckable(true);
}

QWidget* buildContent(QWidget* parent)
{
    auto* content = new QWidget(parent);
    auto* group = new QGroupBox(QStringLiteral("Skill Level"), content);
    group->setGeometry(263, 17, 100, 149);
    int top = 23;
    for (const QString& text : {QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard")}) {
        auto* radio = new QRadioButton(text, group);
        radio->setGeometry(4, top, 80, 20);
        top += 50;
    }
    group->findChildren<QRadioButton*>().first()->setChecked(true);

    auto* answer = new QLineEdit(content);
    answer->setGeometry(296, 259, 110, 25);

    const struct {
        const char* caption;
        int left, top, width;
    } buttons[] = {{"New Problem", 158, 186, 108}, {"Enter", 308, 301, 80}, {"Reset", 308, 419, 80}};
    for (const auto& b : buttons)
        (new QPushButton(QString::fromLatin1(b.caption), content))->setGeometry(b.left, b.top, b.width, 20);

    content->setFixedSize(420, 467);
    return content;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Startup baseline"));
    buildMenus(window);
    window.setCentralWidget(buildContent(&window));
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return QApplication::exec();
}
