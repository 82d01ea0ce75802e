#pragma once
// The application object: one running copy, the program folder, and the main
// window run modally for the whole life of the process.
namespace korvel::win {

class CKorvelApp {
public:
    CKorvelApp();
    // Runs the program; false always, as the main window's modal run is the
    // whole program and no message loop of the application's own follows.
    bool initInstance();
};

}  // namespace korvel::win
