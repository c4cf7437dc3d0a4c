// CScriptRunner: drives the program from a script, one command a line, from
// the event loop, so that it goes on inside modal dialogs and pop-up menus.
// Input is delivered as the pen and keys would deliver it, at device-screen
// coordinates. A failing command ends the program with status 2.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class CLumoApp;
class QWidget;

class CScriptRunner : public QObject {
    Q_OBJECT
public:
    CScriptRunner(CLumoApp* app, QStringList lines);
    // Reads a script file ("-" = standard input); false with *error set when it cannot.
    static bool ReadScript(const QString& path, QStringList* lines, QString* error);
    // Splits a line into words: blanks separate, "double quotes" group, # starts a comment.
    static QStringList SplitWords(const QString& line);

    void Start();

private:
    void Next();
    void Fail(const QString& reason);
    // Runs one command; returns false with *reason set on failure. A command
    // that must wait sets m_resumeAfterMs or m_waitIdle.
    bool Run(const QStringList& words, QString* reason);
    bool Pen(const QString& what, QPoint p, QString* reason);
    bool Key(const QString& name, QString* reason);
    bool Menu(const QStringList& labels, QString* reason);
    bool Command(int id, QString* reason);
    bool Shot(const QString& path, QString* reason);
    bool Dump(const QString& path, QString* reason);
    bool IsIdle() const;
    // Runs the next step after ms, noting when it is due.
    void Schedule(int ms);

    CLumoApp* m_app;
    QStringList m_lines;
    int m_line = 0;
    int m_resumeAfterMs = -1;
    bool m_waitIdle = false;
    bool m_failed = false;
    QElapsedTimer m_idleSince;
    QPointer<QWidget> m_grab;  // the widget that received the last pen-down
    QPoint m_lastPen;
    QTimer m_stepTimer;
    // How late the event loop let due steps run: a step waits like a tap
    // would, so the longest wait is the run's worst answer time to input.
    QElapsedTimer m_clock;
    qint64 m_dueAt = -1;
    qint64 m_longestLateMs = 0;
};
