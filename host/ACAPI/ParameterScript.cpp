#include "ACAPI/ParameterScript.hpp"

#include "ACAPI/ElementMemo.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/ElementMemos.h"
#include "sim/Goodies.h"
#include "sim/ParameterScript.h"
#include "sim/Sim.h"

#include <cstring>
#include <optional>
#include <string>

namespace {

struct Session {
    std::vector<sim::LibParameter> parameters;
    double a = 0.0;
    double b = 0.0;
};

struct State {
    std::optional<Session> session;
    int leftOpen = 0;
    sim::ParameterScript script;
    std::vector<std::string> changes;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

// The parameters of an element's or a tool default's memo.
GSErrCode fromMemo(GSErrCode err, API_ElementMemo& memo, Session& session) {
    if (err == NoError) {
        sim::readParameterRecords(memo.params, session.parameters);
    }
    ACAPI_DisposeElemMemoHdls(&memo);
    return err;
}

GSErrCode openSession(void* par1, void*, void*, void*) {
    if (GSErrCode err = sim::injectedError("ACAPI_Goodies:OPAR"); err != NoError) {
        return err;
    }
    auto* owner = static_cast<const API_ParamOwnerType*>(par1);
    if (owner == nullptr) {
        return APIERR_BADPARS;
    }
    State& s = state();
    if (s.session) {
        ++s.leftOpen;
        return APIERR_GENERAL;
    }
    Session session;
    API_ElementMemo memo;
    if (owner->guid != GS::Guid()) {
        if (GSErrCode err =
                fromMemo(sim::copyMemoOut(owner->guid, &memo, APIMemoMask_AddPars), memo, session);
            err != NoError) {
            return err;
        }
    } else if (owner->typeID != 0) {
        if (GSErrCode err =
                fromMemo(sim::copyDefaultMemoOut(owner->typeID, owner->variationID, &memo), memo, session);
            err != NoError) {
            return err;
        }
    } else {
        const sim::LibPartDef* part = sim::loadedLibPart(owner->libInd);
        if (part == nullptr) {
            return APIERR_BADINDEX;
        }
        session.parameters = part->parameters;
        session.a = part->a;
        session.b = part->b;
    }
    s.session = std::move(session);
    s.changes.clear();
    return NoError;
}

std::string nameOf(const API_AddParType& record) {
    return std::string(record.name, strnlen(record.name, sizeof record.name));
}

GSErrCode changeParameter(void* par1, void*, void*, void*) {
    if (GSErrCode err = sim::injectedError("ACAPI_Goodies:CHGP"); err != NoError) {
        return err;
    }
    auto* change = static_cast<const API_ChangeParamType*>(par1);
    State& s = state();
    if (!s.session) {
        return APIERR_GENERAL;
    }
    if (change == nullptr) {
        return APIERR_BADPARS;
    }
    std::string name(change->name, strnlen(change->name, sizeof change->name));
    for (sim::LibParameter& parameter : s.session->parameters) {
        API_AddParType& record = parameter.record;
        if (!(name.empty() ? record.index == change->index : nameOf(record) == name)) {
            continue;
        }
        bool isText = record.typeID == APIParT_CString;
        std::string value = isText ? (change->uStrValue != nullptr ? GS::UniString(change->uStrValue).ToUTF8()
                                                                   : std::string())
                                   : std::to_string(change->realValue);
        if (record.typeMod == API_ParSimple) {
            if (isText) {
                GS::UniString text(value.c_str());
                std::memset(record.value.uStr, 0, sizeof record.value.uStr);
                std::memcpy(record.value.uStr, text.ToUStr(),
                            std::min<std::size_t>(text.GetLength(), 255) * 2);
            } else {
                record.value.real = change->realValue;
            }
            s.changes.push_back(name + "=" + value);
            return NoError;
        }
        Int32 rows = std::max(record.dim1, 1);
        Int32 columns = std::max(record.dim2, 1);
        if (change->ind1 < 1 || change->ind1 > rows || change->ind2 < 1 || change->ind2 > columns) {
            return APIERR_BADINDEX;
        }
        if (isText) {
            return APIERR_BADPARS; // text array cells are not changed one by one here
        }
        std::size_t cell =
            std::size_t(change->ind1 - 1) * std::size_t(columns) + std::size_t(change->ind2 - 1);
        if (parameter.arrayBytes.size() < (cell + 1) * sizeof(double)) {
            parameter.arrayBytes.resize((cell + 1) * sizeof(double));
        }
        std::memcpy(parameter.arrayBytes.data() + cell * sizeof(double), &change->realValue, sizeof(double));
        s.changes.push_back(name + "[" + std::to_string(change->ind1) + "," + std::to_string(change->ind2) +
                            "]=" + value);
        return NoError;
    }
    return APIERR_BADNAME;
}

GSErrCode getParameters(void* par1, void*, void*, void*) {
    if (GSErrCode err = sim::injectedError("ACAPI_Goodies:GPAR"); err != NoError) {
        return err;
    }
    auto* result = static_cast<API_GetParamsType*>(par1);
    State& s = state();
    if (!s.session) {
        return APIERR_GENERAL;
    }
    if (result == nullptr) {
        return APIERR_BADPARS;
    }
    if (s.script) {
        s.script(s.session->parameters, s.session->a, s.session->b);
    }
    GSErrCode err = sim::writeParameterRecords(s.session->parameters, &result->params);
    result->a = s.session->a;
    result->b = s.session->b;
    return err;
}

GSErrCode closeSession(void*, void*, void*, void*) {
    if (GSErrCode err = sim::injectedError("ACAPI_Goodies:CPAR"); err != NoError) {
        return err;
    }
    State& s = state();
    if (!s.session) {
        return APIERR_GENERAL;
    }
    s.session.reset();
    return NoError;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerGoodies(APIAny_OpenParametersID, openSession) &&
                        sim::registerGoodies(APIAny_ChangeAParameterID, changeParameter) &&
                        sim::registerGoodies(APIAny_GetActParametersID, getParameters) &&
                        sim::registerGoodies(APIAny_CloseParametersID, closeSession);

} // namespace

namespace sim {

void setParameterScript(ParameterScript script) {
    state().script = std::move(script);
}

bool isParameterSessionOpen() {
    return state().session.has_value();
}

int parameterSessionsLeftOpen() {
    return state().leftOpen;
}

const std::vector<std::string>& parameterChanges() {
    return state().changes;
}

} // namespace sim
