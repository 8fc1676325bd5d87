#include "DG/DGAlert.hpp"

#include "DG/DGInternal.hpp"
#include "sim/Sim.h"

short DGAlert(short type, const GS::UniString& title, const GS::UniString& largeText,
              const GS::UniString& smallText, const GS::UniString& button1, const GS::UniString& button2,
              const GS::UniString& button3) {
    sim::AlertRecord record;
    record.type = type;
    record.title = title.ToUTF8();
    record.largeText = largeText.ToUTF8();
    record.smallText = smallText.ToUTF8();
    record.buttons[0] = button1.ToUTF8();
    record.buttons[1] = button2.ToUTF8();
    record.buttons[2] = button3.ToUTF8();
    if (record.buttons[0].empty() && record.buttons[1].empty() && record.buttons[2].empty()) {
        record.buttons[0] = "OK";
    }
    if (sim::enter("DGAlert", type) != NoError) {
        return 0;
    }
    return sim::internal::answerAlert(record);
}
