// The platform's integer scaling, for layout arithmetic that must come out to the same
// pixel on every build.
#pragma once

// Multiply then divide, rounding half away from zero; -1 when c is 0, like the platform's.
int MulDivRound(int a, int b, int c);
