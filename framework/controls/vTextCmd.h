// Read-only text of one or more lines.
#pragma once

#include "framework/controls/vCmd.h"

#include <string>

class vTextCmd : public vCmd {
  public:
    vTextCmd(vCmdParent* parent, CommandObject* record);

    void initialize() override;
    int setValue(int value, int type) override {
        return type == SetHidden ? setCommonValue(value, type) : 0;
    }
    void setString(const char* text) override;

    // Lines counted by their breaks (a carriage return and a line feed count
    // one each) and the longest run between breaks, in characters.
    struct Measure {
        int lines;
        int longest;
    };
    static Measure measure(const char* text);
    // The text with a carriage return before every line feed that lacks one,
    // as the multi-line control wants it.
    static std::string withCarriageReturns(const char* text);
};
