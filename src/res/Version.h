#ifndef MVPR_RES_VERSION_H
#define MVPR_RES_VERSION_H

/* The version record's numbers, one place for MVPR.exe and MVRandom.exe. */
#define MVPR_VERSION_NUMBERS 2,7,0,12
#define MVPR_VERSION_TEXT "2.7.0.12\0"
#define MVPR_PRODUCT_VERSION_TEXT "2.0\0"

#endif
