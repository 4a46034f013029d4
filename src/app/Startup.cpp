#include "Startup.h"

#include "Forms.h"
#include "LuvirApplication.h"
#include "RegisterWindowHost.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "UserDialogs.h"

#include <QTimer>

#include <exception>

namespace luvir {

int runGuarded(const std::function<void()> &program)
{
    try {
        program();
        return kExitOk;
    } catch (...) {
        reportException(nullptr, std::current_exception());
        return kExitStartupFailed;
    }
}

int runProgram(LuvirApplication &app, const std::function<void()> &whenShown)
{
    const int code = runGuarded([&] {
        Form3 = new TForm3;
        Form3->exec();
        delete Form3;
        Form3 = nullptr;

        Form1 = new TForm1;
        QObject::connect(
            Form1, &TForm1::terminateRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        Form2 = new TForm2(Form1->deviceLink(), *Form1, Form1);
        Form4 = new TForm4(Form1);
        Form5 = new TForm5(Form1);
        Form1->setLastingWindows(*Form2, *Form4, *Form5);
        auto *registerHost = new RegisterWindowHost(*Form1); // the main window's child

        Form1->show();
        // Once the window is up: a register on a server that cannot be used is told then.
        QTimer::singleShot(0, registerHost, [registerHost] { registerHost->checkServerAtStart(); });
        if (whenShown)
            QTimer::singleShot(0, Form1, whenShown);
        app.exec();
    });

    // The other lasting windows are the main window's children.
    delete Form3;
    Form3 = nullptr;
    delete Form1;
    Form1 = nullptr;
    Form2 = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    return code;
}

} // namespace luvir
