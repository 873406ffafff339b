#pragma once
// Resource identifiers, shared by the resource script and the code.
#define kIdiQuorvexUpdate 1
#define kIdiPrinter 2
#define kIdbStepPicture 100
