#pragma once

#include <memory>

class QApplication;

// The application object, connected to the desktop. Where no display can be opened, it says
// so in Hungarian and ends the process with status 1, in place of Qt's English abort.
std::unique_ptr<QApplication> createApplication(int& argc, char* argv[]);
