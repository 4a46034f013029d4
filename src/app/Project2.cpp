// The program entry (Project2): the command line is not read.
#include "LuvirApplication.h"
#include "Startup.h"

int main(int argc, char **argv)
{
    luvir::LuvirApplication app(argc, argv);
    app.installRussianTranslations();
    return luvir::runProgram(app);
}
