#include "shell/dialog_answer.h"

namespace DialogAnswer {

namespace {

struct Pending {
    QString answer;
    bool set = false;
    Failure failure;
};

Pending& ThePending()
{
    static Pending pending;
    return pending;
}

}  // namespace

void Set(const QString& answer, Failure failure)
{
    ThePending() = {answer, true, std::move(failure)};
}

bool Take(QString* answer)
{
    Pending& p = ThePending();
    if (!p.set)
        return false;
    *answer = p.answer;
    p.set = false;
    return true;
}

bool IsCancel(const QString& answer)
{
    return answer == QLatin1String("cancel");
}

void Fail(const QString& reason)
{
    if (ThePending().failure)
        ThePending().failure(reason);
}

}  // namespace DialogAnswer
