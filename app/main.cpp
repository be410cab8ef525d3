#include "platform/forms.h"
#include "window/form1.h"
#include "window/form1_layout.h"

int main()
{
    const auto window = ravelon::forms::CreateForm(ravelon::kForm1Design);
    ravelon::Form1 form1(*window);
    return ravelon::forms::Run(*window);
}
