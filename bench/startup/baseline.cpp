// The practice sheet window built with nothing but Qt: the same six controls at the same places
// and in the same font, in a window whose controls' area is 455 x 181 under a File and an Edit
// menu: what Qt alone costs to put that window on the screen. It runs until it is closed, as the
// program does, so that both are ended the same way once their first paint has been seen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

template<class W>
W* place(QWidget* parent, W* widget, int left, int top, int width, int height)
{
    QFont font = widget->font();
    font.setFamilies({ QStringLiteral("Arial") });
    font.setPixelSize(12);
    widget->setFont(font);
    widget->setParent(parent);
    widget->setGeometry(left, top, width, height);
    return widget;
}

}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Sumwise"));

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Quit"), QKeySequence(QStringLiteral("Ctrl+Q")), &app, &QCoreApplication::quit);
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(QStringLiteral("&Undo"))->setShortcut(QKeySequence::Undo);
    edit->addSeparator();
    edit->addAction(QStringLiteral("Cu&t"))->setShortcut(QKeySequence::Cut);
    edit->addAction(QStringLiteral("&Copy"))->setShortcut(QKeySequence::Copy);
    edit->addAction(QStringLiteral("&Paste"))->setShortcut(QKeySequence::Paste);
    edit->addAction(QStringLiteral("&Delete"));
    edit->addSeparator();
    edit->addAction(QStringLiteral("Select &All"))->setShortcut(QKeySequence::SelectAll);

    auto* content = new QWidget;
    window.setCentralWidget(content);
    auto* button = place(content, new QPushButton(QStringLiteral("Print!")), 344, 141, 80, 20);
    button->setDefault(true);
    auto* field = place(content, new QLineEdit, 365, 109, 38, 22);
    field->setMaxLength(1);
    auto* number = place(content, new QLabel(QStringLiteral("Enter The Practice Number:")), 173, 109, 186, 20);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* description = place(content,
                              new QLabel(QStringLiteral(
                                  "Sumwise will print a single page of simple math problems to help with the basics "
                                  "of arithmetic.  Choose an operation from the selection, then put in the number to "
                                  "be included in each problem and press \"Print\".")),
                              20, 8, 415, 57);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* operation = place(content, new QLabel(QStringLiteral("Select The Operation:")), 142, 77, 186, 20);
    operation->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* popup = place(content, new QComboBox, 334, 77, 101, 20);
    popup->addItems({ QStringLiteral("Adding"), QStringLiteral("Subtracting"), QStringLiteral("Multiplying"),
                      QStringLiteral("Dividing") });
    popup->setCurrentIndex(2);

    window.setFixedSize(455, 181 + window.menuBar()->sizeHint().height());
    field->setFocus();
    window.show();
    return app.exec();
}
