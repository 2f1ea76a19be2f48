#pragma once

#include <QString>

struct Notification;

// Shows the notification through the notification service of the session bus. Returns why it
// could not, in Hungarian, or an empty text when it was shown.
QString notifyNameDays(const Notification& notification);
