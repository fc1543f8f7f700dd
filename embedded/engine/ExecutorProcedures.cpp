// CREATE PROCEDURE and EXEC: a procedure's own batch run with its parameters, EXEC ('text') as a
// batch of its own, and the server's procedures handed to runSystemProcedure.

#include "Convert.h"
#include "Executor.h"
#include "Lexer.h"
#include "Parser.h"

namespace tsql {

void Executor::runCreateProcedure(const Statement& st) {
    const std::string& name = st.target.back();
    m_s.catalog().refreshIfChanged();
    if (m_s.catalog().procedure(name) || m_s.catalog().table("main", name))
        throw Error(2714, "There is already an object named '" + name + "' in the database.");
    compileCheck(st.body, &st.params);
    m_s.catalog().addProcedure(name, st.sourceText);
}

std::vector<Value> Executor::evaluateArgs(const Statement& st) {
    std::vector<Value> out;
    for (const auto& a : st.execArgs)
        out.push_back(a.value ? evaluate(*a.value) : Value::null());
    return out;
}

int Executor::runExec(const Statement& st, std::vector<ResultSet>* capture) {
    std::vector<ResultSet>* savedCapture = m_capture;
    m_capture = capture;
    struct Restore {
        Executor* ex;
        std::vector<ResultSet>* saved;
        ~Restore() { ex->m_capture = saved; }
    } restore{this, savedCapture};

    if (st.value) {
        // EXEC ('text'): a batch of its own, with its own variables.
        std::string text = evaluate(*st.value).toText();
        auto statements = parseBatch(text);
        VariableFrame frame(m_s);
        runList(statements);
        return 0;
    }

    const std::string& name = st.target.back();
    std::vector<Value> args = evaluateArgs(st);
    if (runSystemProcedure(name, args))
        return 0;

    m_s.catalog().refreshIfChanged();
    auto source = m_s.catalog().procedure(name);
    if (!source)
        throw Error(2812, "Could not find stored procedure '" + name + "'.");
    if (m_depth >= 32)
        throw Error(217, "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).");
    auto parsed = parseBatch(*source);
    const Statement& proc = *parsed.at(0);

    // Bind arguments: positional first, then by name; missing ones take their default.
    std::vector<Variable> params;
    std::vector<bool> given(proc.params.size(), false);
    for (const auto& p : proc.params) {
        Variable v;
        v.name = p.name;
        v.type = p.type;
        params.push_back(v);
    }
    bool named = false;
    for (size_t i = 0; i < st.execArgs.size(); ++i) {
        const ExecArg& a = st.execArgs[i];
        size_t idx = i;
        if (!a.name.empty()) {
            named = true;
            idx = proc.params.size();
            for (size_t k = 0; k < proc.params.size(); ++k)
                if (iequals(proc.params[k].name, a.name))
                    idx = k;
            if (idx == proc.params.size())
                throw Error(8145, a.name + " is not a parameter for procedure " + name + ".");
        } else if (named) {
            throw Error(119, "Must pass parameter number " + std::to_string(i + 1) +
                                 " and subsequent parameters as '@name = value'. After the form '@name = value' has "
                                 "been used, all subsequent parameters must be passed in the form '@name = value'.");
        }
        if (idx >= proc.params.size())
            throw Error(8144, "Procedure or function " + name + " has too many arguments specified.");
        if (a.value)
            params[idx].value = convertValue(args[i], params[idx].type, ConvertMode::Assign);
        given[idx] = a.value != nullptr || proc.params[idx].defaultValue != nullptr;
        if (!a.value && proc.params[idx].defaultValue)
            given[idx] = false;
    }
    for (size_t k = 0; k < proc.params.size(); ++k) {
        if (given[k])
            continue;
        if (!proc.params[k].defaultValue)
            throw Error(201, "Procedure or function '" + name + "' expects parameter '" + proc.params[k].name +
                                 "', which was not supplied.");
        params[k].value = convertValue(evaluate(*proc.params[k].defaultValue), params[k].type, ConvertMode::Assign);
    }

    VariableFrame frame(m_s);
    for (auto& p : params)
        m_s.m_variables.push_back(p);
    int savedReturn = m_returnValue;
    m_returnValue = 0;
    ++m_depth;
    // SET options changed inside a procedure end with it, as on SQL Server.
    const bool savedNocount = m_s.m_nocount, savedAnsiWarnings = m_s.m_ansiWarnings;
    const long long savedRowcount = m_s.m_rowcount;
    auto unwind = [&] {
        m_s.m_nocount = savedNocount;
        m_s.m_ansiWarnings = savedAnsiWarnings;
        m_s.m_rowcount = savedRowcount;
        --m_depth;
        frame.close();
    };
    try {
        runList(proc.body);
    } catch (...) {
        unwind();
        m_returnValue = savedReturn;
        throw;
    }
    // OUTPUT parameters flow back to the caller's variables.
    std::vector<std::pair<std::string, Value>> outputs;
    for (size_t i = 0; i < st.execArgs.size(); ++i) {
        const ExecArg& a = st.execArgs[i];
        if (!a.output || !a.value || a.value->kind != ExprKind::Variable)
            continue;
        size_t idx = i;
        if (!a.name.empty())
            for (size_t k = 0; k < proc.params.size(); ++k)
                if (iequals(proc.params[k].name, a.name))
                    idx = k;
        outputs.emplace_back(a.value->text, m_s.m_variables[frame.start() + idx].value);
    }
    int rc = m_returnValue;
    unwind();
    m_returnValue = savedReturn;
    for (const auto& [var, value] : outputs)
        if (auto slot = m_s.variableSlot(var))
            m_s.assignVariable(*slot, value);
    if (!st.execReturnVariable.empty()) {
        auto slot = m_s.variableSlot(st.execReturnVariable);
        if (!slot)
            throw Error(137, "Must declare the scalar variable \"" + st.execReturnVariable + "\".");
        m_s.assignVariable(*slot, Value::integer(rc));
    }
    return rc;
}

} // namespace tsql
