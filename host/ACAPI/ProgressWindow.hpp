// The host's progress window, reached through ACAPI_Interface:
//   'IPWD' (const GS::UniString* title, const short* phaseCount): opens it;
//   'CPWD': closes it;
//   'SPRP' (const GS::UniString* phaseTitle, const Int32* count): starts the next phase;
//   'SPRV' (const Int32* value): sets the progress of the phase;
//   'IPRV' (const Int32* step): advances it;
//   'CANC': answers APIERR_CANCEL once the user has pressed the window's cancel button.
// Every request but 'IPWD' answers APIERR_GENERAL while no window is open, and 'IPWD' while one is.
#pragma once

#include "ACAPI/Interface.hpp"
#include "GSRoot/UniString.hpp"

constexpr GSType APIIo_InitProcessWindowID = MakeGSType("IPWD");
constexpr GSType APIIo_CloseProcessWindowID = MakeGSType("CPWD");
constexpr GSType APIIo_SetNextProcessPhaseID = MakeGSType("SPRP");
constexpr GSType APIIo_SetProcessValueID = MakeGSType("SPRV");
constexpr GSType APIIo_IncProcessValueID = MakeGSType("IPRV");
constexpr GSType APIIo_IsProcessCanceledID = MakeGSType("CANC");
