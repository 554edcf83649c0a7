#include <cstdlib>

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
        // The workers of a batch still running use the window and the state from their own
        // threads: end the process here rather than free either under them.
        if (window.batchRunning()) {
            std::_Exit(result);
        }
    }
    quill::FreeSharedState(state);
    return result;
}
