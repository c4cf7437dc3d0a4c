// The program's observable state as JSON, for scripts and tests.
#pragma once

#include <QJsonObject>

class CLumoApp;

QJsonObject DumpState(CLumoApp* app);
