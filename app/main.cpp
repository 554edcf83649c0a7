#include <QApplication>

#include "app/main_window.h"
#include "core/shared_state.h"
#include "web/fetch_page.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quill::InitWeb();
    quill::SharedState state;
    quill::InitSharedState(state);
    int result = 0;
    {
        quill::MainWindow window(state);
        window.show();
        result = application.exec();
    }
    quill::FreeSharedState(state);
    return result;
}
