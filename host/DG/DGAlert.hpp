// The host's modal alerts. No screen: the answer comes from the queue of sim/Dialogs.h.
#pragma once

#include "GSRoot/UniString.hpp"

constexpr short DG_INFORMATION = -3;
constexpr short DG_WARNING = -2;
constexpr short DG_ERROR = -1;

// Shows an alert with up to three buttons (an empty text leaves the button out; the first is
// "OK" when all are empty) and answers the number of the button pressed, 1 to 3.
short DGAlert(short type, const GS::UniString& title, const GS::UniString& largeText,
              const GS::UniString& smallText, const GS::UniString& button1 = GS::UniString(),
              const GS::UniString& button2 = GS::UniString(), const GS::UniString& button3 = GS::UniString());
