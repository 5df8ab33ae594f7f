#pragma once
// Version of the integrator, stamped in the POS database and shown in the menu.
#define VESKO_VERSAO "6.13.11.2"
