#include "framework/dialogs/StatusItemDef.h"

#include "framework/app/TextCopy.h"

CommandObject* statusCommands(const StatusItemDef* table, int& count) {
    // An empty table makes an empty bar rather than a field of the end record.
    count = 0;
    while (table && table[count].title)
        ++count;
    auto* commands = new CommandObject[count + 1]{};
    for (int i = 0; i < count; ++i) {
        const StatusItemDef& field = table[i];
        commands[i] = {BoxedLabel,
                       field.id,
                       0,
                       copyText(field.title),
                       nullptr,
                       field.attributes,
                       field.sensitive & 1,
                       0,
                       0,
                       0,
                       field.size,
                       nullptr};
    }
    return commands;
}

void freeStatusCommands(CommandObject* commands, int count) {
    if (!commands) return;
    for (int i = 0; i < count; ++i)
        delete[] commands[i].title;
    delete[] commands;
}
