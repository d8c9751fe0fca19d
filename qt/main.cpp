#include "application.h"
#include "frmmain.h"

int main(int argc, char *argv[])
{
    brinevar::Application app(argc, argv);
    return app.run([] { return std::make_unique<frmMain>(); });
}
