#pragma once
// Milliseconds from the high-resolution counter, for budgets of work within a message.
double MillisecondsNow();
