// The controls of output_form: two fields, the default button and a line saying what it did.
#pragma once

#define IDD_OUTPUT_FORM 100
#define IDC_FIRST_FIELD 101
#define IDC_SECOND_FIELD 102
#define IDC_PRESSES 103
