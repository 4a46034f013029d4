// The program entry: the splash, then the lasting windows, then the event loop.
#include "Forms.h"
#include "LuvirApplication.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "UserDialogs.h"

#include <exception>

int main(int argc, char **argv)
{
    luvir::LuvirApplication app(argc, argv); // the command line is not read
    app.installRussianTranslations();

    try {
        Form3 = new TForm3;
        Form3->exec();
        delete Form3;
        Form3 = nullptr;

        Form1 = new TForm1;
        QObject::connect(Form1, &TForm1::terminateRequested, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        Form2 = new TForm2(Form1->deviceLink(), *Form1, Form1);
        Form4 = new TForm4(Form1);
        Form5 = new TForm5(Form1);

        Form1->show();
        app.exec();
    } catch (...) {
        luvir::reportException(nullptr, std::current_exception());
    }

    delete Form1; // the other lasting windows are its children
    Form1 = nullptr;
    return 0;
}
