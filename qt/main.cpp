#include "application.h"
#include "frmmain.h"

int main(int argc, char *argv[])
{
    brinevar::Dialogs dialogs;
    brinevar::Application app(argc, argv, dialogs);
    return app.run([&dialogs] {
        auto window = std::make_unique<frmMain>(dialogs);
        window->Form_Load();
        return window;
    });
}
