#include "Quimbel.h"

#include "rtl/Streams.h"

namespace quimbel {

void LoadLayoutResource(TKeyCollection* Keys, const vcl::AnsiString& Name) {
    Keys->DeleteAllKeys();
    vcl::TResourceStream stream(Name, LayoutResourceType);
    vcl::TReader reader(&stream, 1024);
    Keys->LoadKeys(&reader);
}

} // namespace quimbel
