#pragma once

#include <QString>

// What went wrong, in Hungarian, for an errno value that reading or writing a file can give,
// with the system's own English text after it as a detail: "Nincs több hely az eszközön (No
// space left on device)". The C library's Hungarian messages are missing on most systems.
QString systemErrorText(int error);
