// The program's options and its one raw command-line path.
#pragma once

#include <QString>
#include <QStringList>

struct CLumoOptions {
    QString script;      // --script FILE ("-" = standard input)
    QString deviceRoot;  // --device-root DIR
    QString registry;    // --registry FILE
    int screenWidth = 240;
    int screenHeight = 320;
    int scale = 1;
    bool scaleGiven = false;  // --scale was given: no automatic desktop scale
    bool offscreen = false;
    bool help = false;
    bool version = false;
    bool splash = false;  // scripted runs show no splash unless asked
    QString clock;        // --clock HH:MM: the task bar's fixed clock
    // The words after the options joined with single blanks: one raw path.
    QString rawPath;
    QString error;  // set when the options could not be read
};

// Reads argv (without the program name). Words after "--" or after the first
// word that is not an option all belong to the path.
CLumoOptions ParseCommandLine(const QStringList& args);
QString UsageText();

// The window's scale on a desktop whose free area is `available` pixels when
// no --scale is given: 1, unless the area is at least three times the device
// screen both ways; then the largest whole factor that still fits the window
// with its title bar (at most 8).
int DesktopScale(int availableWidth, int availableHeight, int deviceWidth, int deviceHeight);
