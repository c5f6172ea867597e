// A Qt plugin for the smoke test of the Windows program, never shipped: loaded
// into the unzipped dilatany.exe with `-plugin dilatany-window-tree`, it writes
// the window tree (every visible window and its labels, buttons and boxes,
// with their texts and places on the screen) ten times a second into
// window-tree.txt in the program's folder. The test clicks by those places with
// the real mouse from outside and reads the results from the file.
#include <QAbstractButton>
#include <QApplication>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

namespace {

QString Line(const char *kind, const QWidget *widget, const QString &text)
{
    const QRect r(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    QString clean = text;
    clean.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("%1\t%2\t%3\t%4,%5,%6,%7\n")
        .arg(QLatin1String(kind), widget->objectName(), clean)
        .arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void WriteTree()
{
    QString tree;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        tree += Line("window", window, window->windowTitle());
        for (QWidget *child : window->findChildren<QWidget *>()) {
            if (!child->isVisible())
                continue;
            if (auto *label = qobject_cast<QLabel *>(child))
                tree += Line("label", label, label->text());
            else if (auto *button = qobject_cast<QAbstractButton *>(child))
                tree += Line("button", button, button->text());
            else if (auto *box = qobject_cast<QLineEdit *>(child))
                tree += Line("box", box, box->text());
        }
    }
    QSaveFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/window-tree.txt"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(tree.toUtf8());
        file.commit();
    }
}

class TreeProbe : public QObject {
public:
    TreeProbe()
    {
        // The plugin is created before the first window; the timer runs in
        // the program's own event loop.
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &WriteTree);
        timer->start(100);
    }
};

} // namespace

class TreeProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "tree_probe.json")

public:
    QObject *create(const QString &key, const QString &) override
    {
        return key == QLatin1String("dilatany-window-tree") ? new TreeProbe : nullptr;
    }
};

#include "tree_probe.moc"
