#pragma once
// The application object: an exception that escapes an event handler is shown in the
// error box and the program goes on.

#include <QApplication>

namespace luvir {

class LuvirApplication : public QApplication
{
    Q_OBJECT
public:
    LuvirApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Loads Qt's own Russian texts, so its dialogs and buttons speak Russian too.
    void installRussianTranslations();
};

} // namespace luvir
