#include "ui/core/text_export.h"

#include "document/data_mgr.h"
#include "toolkit/text/texts.h"
#include "ui/core/questions.h"
#include "ui/core/reporting.h"

bool run_text_export(Data_mgr& document, Message_box& messages, const File_path& data, const File_path& output)
{
    if (!run_reporting(messages, [&] { document.analyze_to_text(data, output); }))
        return false;
    messages.show_message(output.display() + texts::output_done().to_utf8());
    return true;
}
