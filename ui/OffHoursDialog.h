#pragma once

#include "framework/Dialog.h"
#include "framework/MessageMap.h"

#include <functional>
#include <string>
#include <vector>

// In the countdown's place while a kept slot rests outside its show hours:
// "Off hours until 07:00", with Start now (ends with IDOK) and Abort
// (IDCANCEL); F1 shows the help. It takes no time of the processor's between
// minutes: it wakes at the start of each minute, and at once when the clock
// is set or the computer wakes, to ask `minuteLook` whether the off hours go
// on (false ends it with IDRETRY). The requests' events are waited on by the
// system: a signalled one ends it with what `onRequest` answers for its index.
// IDABORT when the session ends.
class COffHoursDialog : public CDialog
{
public:
    explicit COffHoursDialog(std::string until);
    ~COffHoursDialog() override;

    // The local time the off hours last until, as people say it ("07:00").
    void SetUntil(const std::string& until);
    void SetMinuteLook(std::function<bool()> look) { minuteLook = std::move(look); }
    void SetRequests(std::vector<HANDLE> events, std::function<int(size_t index)> answer);

protected:
    BOOL OnInitDialog() override;
    // Enter starts nothing; only the button does.
    void OnOK() override {}
    void OnTimer(UINT_PTR id);
    void OnStartNow() { EndDialog(IDOK); }
    void OnEndSession(bool ending);

    DECLARE_MESSAGE_MAP()

private:
    struct Waiting
    {
        HWND window = nullptr;
        size_t index = 0;
        HANDLE wait = nullptr;
    };
    static void CALLBACK RequestSignalled(void* waiting, BOOLEAN timedOut);
    void WaitForMinute();

    std::string until;
    std::function<bool()> minuteLook;
    std::vector<HANDLE> requests;
    std::function<int(size_t)> onRequest;
    std::vector<Waiting> waits;
};
