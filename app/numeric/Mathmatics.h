#pragma once
// The module's numerical routines in one include.
#include "numeric/Arithmetic2D.h"
#include "numeric/Fft.h"
#include "numeric/Interpolate.h"
#include "numeric/Lst2Fit.h"
#include "numeric/Ordering.h"
#include "numeric/Polynomial.h"
#include "numeric/Statistics.h"
