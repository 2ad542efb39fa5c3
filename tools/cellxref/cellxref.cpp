// cellxref: lists, for one translation unit, every use of a named cell of the
// application's catalogue and whether the use reads the cell, writes it, or
// both. Cells are the static members of the per-module views
// cat_mod::MODULE::view<G> (runtime/catalogue.h); a use is classified from
// where the member's value goes in the syntax tree:
//
//   X.F = v, X.F.ref() = v, a block output bound to T&       write
//   X.F += v, ++X.F.ref(), &X.F.ref(), T& bound to a local    read and write
//   a copy slot (Slot), a value, a const T& argument          read
//   the proxy itself passed on or bound to a reference        escape
//
// An escape is counted as both a read and a write (the callee may do
// either); the check that reads this output lists where escapes occur.
//
// Output, one line each: "USE MODULE MEMBER KIND FILE:LINE FUNCTION [INTO]"
// with KIND one of R, W, RW, ESC (INTO: where an escape went); "SLOT MODULE
// MEMBER GROUP FILE:LINE FUNCTION" for each read of a copy slot, GROUP the
// number (0 for 10 ms .. 4 for 160 ms) of the group whose view reads it;
// "CALL CALLER OFFSET CALLEE" for every call between the
// project's own functions (and "CALL FUNCTION OFFSET =TABLE" for a
// function that uses a table of cells); "SLICE GROUP INDEX FUNCTION" for the entries of
// the rate groups' slice table.
// Usage: cellxref -p BUILD_DIR -o OUT [--depfile D] [--root DIR/] SOURCE
#include <clang/AST/ASTContext.h>
#include <clang/AST/ExprCXX.h>
#include <clang/AST/ParentMapContext.h>
#include <clang/ASTMatchers/ASTMatchFinder.h>
#include <clang/ASTMatchers/ASTMatchers.h>
#include <clang/Frontend/CompilerInstance.h>
#include <clang/Frontend/FrontendActions.h>
#include <clang/Tooling/CommonOptionsParser.h>
#include <clang/Tooling/Tooling.h>
#include <llvm/Support/CommandLine.h>
#include <llvm/Support/raw_ostream.h>

#include <fstream>
#include <functional>
#include <set>
#include <string>

using namespace clang;
using namespace clang::ast_matchers;

namespace {

llvm::cl::OptionCategory kCategory("cellxref");
llvm::cl::opt<std::string> kOut("o", llvm::cl::desc("output file"), llvm::cl::cat(kCategory), llvm::cl::Required);
llvm::cl::opt<std::string> kDepfile("depfile", llvm::cl::desc("make-style dependency file"), llvm::cl::cat(kCategory));
llvm::cl::opt<std::string> kRoot("root", llvm::cl::desc("only uses in files under this folder"), llvm::cl::cat(kCategory));

enum Kind { kRead, kWrite, kReadWrite, kEscape };

// Where the last escape went: "Record::field" for a member of a braced
// record, "function(parameter)" for an argument, "=name" for a reference.
std::string g_escape_into;

std::string param_text(const FunctionDecl* fd, unsigned i) {
    std::string f = fd ? fd->getQualifiedNameAsString() : "?";
    std::string pn = fd && i < fd->getNumParams() ? fd->getParamDecl(i)->getNameAsString() : "";
    return f + "(" + (pn.empty() ? std::to_string(i) : pn) + ")";
}
const char* const kKindName[] = {"R", "W", "RW", "ESC"};

// The expression's parent, through parentheses and casts that change nothing.
const Expr* skip_up(ASTContext& ctx, const Expr* e, const Stmt** parent) {
    for (;;) {
        auto parents = ctx.getParents(*e);
        if (parents.empty()) {
            *parent = nullptr;
            return e;
        }
        const Stmt* p = parents[0].get<Stmt>();
        if (!p) {
            *parent = nullptr;
            // A variable's initialiser or a default argument: the caller looks at the decl.
            return e;
        }
        if (isa<ParenExpr>(p) || isa<MaterializeTemporaryExpr>(p) || isa<ExprWithCleanups>(p) ||
            isa<CXXBindTemporaryExpr>(p) || isa<FullExpr>(p)) {
            e = cast<Expr>(p);
            continue;
        }
        if (const auto* ic = dyn_cast<ImplicitCastExpr>(p)) {
            // The conversion to the element's reference wraps the conversion
            // call as an lvalue of the same object.
            if (ic->getCastKind() == CK_NoOp || (ic->getCastKind() == CK_UserDefinedConversion && ic->isGLValue()) ||
                ((ic->getCastKind() == CK_DerivedToBase || ic->getCastKind() == CK_UncheckedDerivedToBase) &&
                 ic->isGLValue())) {
                e = ic;
                continue;
            }
        }
        *parent = p;
        return e;
    }
}

// How a reference parameter (or the reference a value is bound to) uses it.
Kind by_reference(QualType t) {
    if (t->isReferenceType()) {
        QualType pointee = t->getPointeeType();
        return pointee.isConstQualified() ? kRead : kReadWrite;
    }
    if (t->isPointerType()) return t->getPointeeType().isConstQualified() ? kRead : kReadWrite;
    return kRead;  // by value: a copy
}

// The member that element i of a braced record initialises (null for a list
// that is not a record's).
const FieldDecl* field_at(const InitListExpr* list, unsigned i) {
    const auto* rd = list->getType()->getAsRecordDecl();
    if (!rd) return nullptr;
    unsigned k = 0;
    for (const FieldDecl* fd : rd->fields())
        if (k++ == i) return fd;
    return nullptr;
}

// The member that `e` initialises in a braced list's semantic form, looked
// for in the inner lists too (an array of records written with their braces
// elided); null for an element that is no record's member.
const FieldDecl* field_in(const InitListExpr* list, const Expr* e) {
    for (unsigned i = 0; i < list->getNumInits(); ++i) {
        const Expr* init = list->getInit(i);
        if (init->IgnoreParenImpCasts() == e->IgnoreParenImpCasts()) return field_at(list, i);
        if (const auto* inner = dyn_cast<InitListExpr>(init->IgnoreImplicit()))
            if (const FieldDecl* fd = field_in(inner, e)) return fd;
    }
    return nullptr;
}

// The parameter of `call` that argument `e` initialises (null if none).
const ParmVarDecl* param_for(const CallExpr* call, const Expr* e) {
    const FunctionDecl* fd = call->getDirectCallee();
    if (!fd) return nullptr;
    unsigned shift = 0;
    // A member operator called as an operator: argument 0 is the object.
    if (isa<CXXOperatorCallExpr>(call) && isa<CXXMethodDecl>(fd)) shift = 1;
    for (unsigned i = 0; i < call->getNumArgs(); ++i) {
        if (call->getArg(i)->IgnoreParenImpCasts() != e->IgnoreParenImpCasts() && call->getArg(i) != e) continue;
        if (i < shift) return nullptr;
        unsigned pi = i - shift;
        if (pi < fd->getNumParams()) return fd->getParamDecl(pi);
        return nullptr;  // variadic
    }
    return nullptr;
}

Kind lvalue_use(ASTContext& ctx, const Expr* e);

// A pointer to a cell's characters (an rvalue): written through where it goes
// to a pointer-to-non-const parameter.
Kind pointer_use(ASTContext& ctx, const Expr* e) {
    const Stmt* p = nullptr;
    e = skip_up(ctx, e, &p);
    const QualType t = e->getType();
    if (t->isPointerType() && t->getPointeeType().isConstQualified()) return kRead;
    if (const auto* ic = p ? dyn_cast<ImplicitCastExpr>(p) : nullptr) {
        const QualType to = ic->getType();
        if (to->isPointerType() && to->getPointeeType().isConstQualified()) return kRead;
    }
    if (const auto* call = p ? dyn_cast<CallExpr>(p) : nullptr) {
        if (const ParmVarDecl* pd = param_for(call, e)) return by_reference(pd->getType());
        return kEscape;
    }
    if (p && (isa<BinaryOperator>(p) || isa<ArraySubscriptExpr>(p) || isa<UnaryOperator>(p))) {
        if (const auto* ase = dyn_cast<ArraySubscriptExpr>(p)) return lvalue_use(ctx, ase);
        if (const auto* uo = dyn_cast<UnaryOperator>(p); uo && uo->getOpcode() == UO_Deref) return lvalue_use(ctx, uo);
        return kRead;
    }
    return kEscape;
}

// An lvalue of the cell's element (the result of the proxy's conversion or
// ref(), or a member of such an lvalue): how it is used.
Kind lvalue_use(ASTContext& ctx, const Expr* e) {
    const Stmt* p = nullptr;
    e = skip_up(ctx, e, &p);
    if (!p) {
        auto parents = ctx.getParents(*e);
        if (!parents.empty()) {
            if (const auto* vd = parents[0].get<VarDecl>()) return by_reference(vd->getType());
            if (const auto* fd = parents[0].get<FieldDecl>()) return by_reference(fd->getType());
        }
        return kEscape;
    }
    if (const auto* ic = dyn_cast<ImplicitCastExpr>(p)) {
        // A text's characters as a pointer: a pointer to non-const handed on
        // may be written through.
        if (ic->getCastKind() == CK_ArrayToPointerDecay) return pointer_use(ctx, ic);
        return kRead;  // lvalue to rvalue, ...
    }
    // A cast to a reference names the same object: used as the cast is.
    if (const auto* ce = dyn_cast<ExplicitCastExpr>(p)) return ce->isGLValue() ? lvalue_use(ctx, ce) : kRead;
    if (const auto* bo = dyn_cast<BinaryOperator>(p)) {
        // e is the operand with its parentheses (skip_up climbed them).
        if (bo->getLHS() == e) {
            if (bo->getOpcode() == BO_Assign) return kWrite;
            if (bo->isCompoundAssignmentOp()) return kReadWrite;
        }
        return kRead;
    }
    if (const auto* uo = dyn_cast<UnaryOperator>(p)) {
        if (uo->isIncrementDecrementOp()) return kReadWrite;
        if (uo->getOpcode() == UO_AddrOf) return by_reference(uo->getType());
        return kRead;
    }
    if (const auto* me = dyn_cast<MemberExpr>(p)) {
        // A field of a text or time cell, or a method called on it.
        if (isa<CXXMethodDecl>(me->getMemberDecl())) {
            const auto* md = cast<CXXMethodDecl>(me->getMemberDecl());
            return md->isConst() ? kRead : kReadWrite;
        }
        return lvalue_use(ctx, me);
    }
    if (const auto* ase = dyn_cast<ArraySubscriptExpr>(p)) return lvalue_use(ctx, ase);
    if (const auto* oc = dyn_cast<CXXOperatorCallExpr>(p)) {
        if (oc->getArg(0)->IgnoreParenImpCasts() == e->IgnoreParenImpCasts()) {
            const auto op = oc->getOperator();
            if (op == OO_Equal) return kWrite;
            if (op == OO_PlusEqual || op == OO_MinusEqual || op == OO_StarEqual || op == OO_SlashEqual ||
                op == OO_PlusPlus || op == OO_MinusMinus)
                return kReadWrite;
            if (const auto* md = dyn_cast_or_null<CXXMethodDecl>(oc->getDirectCallee()))
                return md->isConst() ? kRead : kReadWrite;
        }
        if (const ParmVarDecl* pd = param_for(oc, e)) return by_reference(pd->getType());
        return kRead;
    }
    if (const auto* call = dyn_cast<CallExpr>(p)) {
        if (const ParmVarDecl* pd = param_for(call, e)) return by_reference(pd->getType());
        if (call->getCallee()->IgnoreParenImpCasts() == e) return kRead;
        return kEscape;  // variadic or unknown callee
    }
    if (const auto* cc = dyn_cast<CXXConstructExpr>(p)) {
        const CXXConstructorDecl* cd = cc->getConstructor();
        for (unsigned i = 0; i < cc->getNumArgs(); ++i)
            if (cc->getArg(i)->IgnoreParenImpCasts() == e->IgnoreParenImpCasts() && i < cd->getNumParams())
                return by_reference(cd->getParamDecl(i)->getType());
        return kRead;
    }
    if (const auto* il = dyn_cast<InitListExpr>(p)) {
        // An element of a list of values, or a record's member: a reference
        // member bound to the cell is as a reference parameter.
        const InitListExpr* sem = il->isSemanticForm() ? il : il->getSemanticForm();
        if (const FieldDecl* fd = field_in(sem ? sem : il, e)) return by_reference(fd->getType());
        return kRead;
    }
    if (isa<CXXStdInitializerListExpr>(p)) return kRead;
    if (const auto* di = dyn_cast<DesignatedInitExpr>(p)) {
        // A record's member named in its braced initialiser: as the member
        // binds it (a reference member as a reference parameter).
        if (di->size() == 1 && di->getDesignator(0)->isFieldDesignator())
            if (const FieldDecl* fd = di->getDesignator(0)->getField()) return by_reference(fd->getType());
        return kEscape;
    }
    if (isa<ReturnStmt>(p)) {
        auto parents = ctx.getParents(*p);
        // The function's return type decides; walk up to it.
        const Stmt* s = p;
        while (!parents.empty()) {
            if (const auto* fd = parents[0].get<FunctionDecl>()) return by_reference(fd->getReturnType());
            if (const auto* le = parents[0].get<LambdaExpr>()) return by_reference(le->getCallOperator()->getReturnType());
            if (const auto* st = parents[0].get<Stmt>()) s = st;
            else break;
            parents = ctx.getParents(*s);
        }
        return kEscape;
    }
    if (isa<ConditionalOperator>(p) || isa<BinaryConditionalOperator>(p)) {
        // The conditional's result is used in turn (an lvalue only when both arms are).
        const auto* co = cast<Expr>(p);
        if (co->isGLValue()) return lvalue_use(ctx, co);
        return kRead;
    }
    if (isa<IfStmt>(p) || isa<WhileStmt>(p) || isa<ForStmt>(p) || isa<DoStmt>(p) || isa<SwitchStmt>(p))
        return kRead;
    if (isa<CompoundStmt>(p)) return kRead;  // an expression statement that only names it
    return kEscape;
}

// A use of the proxy member itself (a Cell of the view's own group).
Kind proxy_use(ASTContext& ctx, const Expr* e) {
    const Stmt* p = nullptr;
    e = skip_up(ctx, e, &p);
    if (!p) {
        auto parents = ctx.getParents(*e);
        if (!parents.empty()) {
            if (const auto* vd = parents[0].get<VarDecl>()) {
                g_escape_into = "=" + vd->getNameAsString();
                return kEscape;  // a named copy or reference of the proxy
            }
        }
        return kEscape;
    }
    // An element of a braced list: the parent map holds the list as written;
    // its semantic form holds the element converted to the list's type.
    if (const auto* il = dyn_cast<InitListExpr>(p)) {
        const InitListExpr* sem = il->isSemanticForm() ? il : il->getSemanticForm();
        const InitListExpr* syn = il->isSyntacticForm() ? il : il->getSyntacticForm();
        if (!sem) sem = il;
        if (!syn) syn = il;
        for (unsigned i = 0; i < syn->getNumInits() && i < sem->getNumInits(); ++i) {
            if (syn->getInit(i)->IgnoreParens() != e->IgnoreParens() && syn->getInit(i) != e) continue;
            const QualType t = sem->getInit(i)->getType();
            const auto* rd = t->getAsCXXRecordDecl();
            if (rd && rd->getName() == "Cell") return kEscape;
            // A record built from the proxy itself (a reference to the cell
            // kept for later): the holder may read or write it.
            if (const auto* cc = dyn_cast<CXXConstructExpr>(sem->getInit(i)->IgnoreImplicit())) {
                for (const Expr* a : cc->arguments())
                    if (a->IgnoreParenImpCasts() == e->IgnoreParenImpCasts()) {
                        g_escape_into = "?";
                        if (const auto* rd2 = sem->getType()->getAsRecordDecl()) {
                            unsigned k = 0;
                            for (const FieldDecl* fd : rd2->fields()) {
                                if (k++ == i) {
                                    g_escape_into = rd2->getNameAsString() + "::" + fd->getNameAsString();
                                    break;
                                }
                            }
                        } else if (const auto* at = sem->getType()->getAsArrayTypeUnsafe()) {
                            const auto* et = at->getElementType()->getAsRecordDecl();
                            g_escape_into = std::string(et ? et->getNameAsString() : "?") + "[]";
                        }
                        return kEscape;
                    }
            }
            // A record's reference member bound to the cell: as a reference parameter.
            if (const FieldDecl* fd = field_at(sem, i)) return by_reference(fd->getType());
            return kRead;
        }
        // A list of values converted element by element.
        return kRead;
    }
    // The object of a member call: the conversion to T&, ref(), c_str(), operator=.
    if (const auto* me = dyn_cast<MemberExpr>(p)) {
        const auto* md = dyn_cast<CXXMethodDecl>(me->getMemberDecl());
        if (!md) return kEscape;
        auto parents = ctx.getParents(*me);
        const Expr* call = parents.empty() ? nullptr : parents[0].get<CXXMemberCallExpr>();
        if (!call) return kEscape;
        if (isa<CXXConversionDecl>(md) || md->getNameAsString() == "ref") {
            return lvalue_use(ctx, call);
        }
        const std::string name = md->getNameAsString();
        if (name == "c_str") return kRead;
        if (md->isOverloadedOperator()) {
            const auto op = md->getOverloadedOperator();
            if (op == OO_Equal) return kWrite;
            if (op == OO_PlusEqual || op == OO_MinusEqual || op == OO_StarEqual) return kReadWrite;
        }
        return kEscape;
    }
    if (const auto* cc = dyn_cast<CXXConstructExpr>(p)) {
        for (unsigned i = 0; i < cc->getNumArgs(); ++i)
            if (cc->getArg(i)->IgnoreParenImpCasts() == e->IgnoreParenImpCasts()) {
                g_escape_into = param_text(cc->getConstructor(), i);
                return kEscape;
            }
        return kEscape;
    }
    if (const auto* call = dyn_cast<CallExpr>(p); call && !isa<CXXOperatorCallExpr>(p)) {
        const FunctionDecl* fd = call->getDirectCallee();
        for (unsigned i = 0; i < call->getNumArgs(); ++i)
            if (call->getArg(i)->IgnoreParenImpCasts() == e->IgnoreParenImpCasts()) {
                g_escape_into = param_text(fd, i);
                return kEscape;
            }
        return kEscape;
    }
    if (const auto* oc = dyn_cast<CXXOperatorCallExpr>(p)) {
        if (oc->getArg(0)->IgnoreParenImpCasts() == e->IgnoreParenImpCasts()) {
            const auto op = oc->getOperator();
            if (op == OO_Equal) return kWrite;
            if (op == OO_PlusEqual || op == OO_MinusEqual || op == OO_StarEqual) return kReadWrite;
            return kEscape;
        }
        // The right side of another cell's assignment (operator=(const Cell&)).
        if (const ParmVarDecl* pd = param_for(oc, e)) {
            QualType t = pd->getType();
            if (t->isReferenceType() && t->getPointeeType().isConstQualified()) {
                const auto* rd = t->getPointeeType()->getAsCXXRecordDecl();
                if (rd && rd->getName() == "Cell") return kRead;
            }
        }
        return kEscape;
    }
    return kEscape;
}

// n in decimal, with leading zeros to `width` digits.
std::string padded(unsigned n, size_t width) {
    std::string s = std::to_string(n);
    for (size_t k = s.size(); k < width; ++k) s = '0' + s;
    return s;
}

// The named function a statement belongs to: a lambda's body counts as the
// function that defines the lambda. Spaces in the name become '_'.
std::string outer_function(ASTContext& ctx, const Stmt* s) {
    DynTypedNodeList parents = ctx.getParents(*s);
    while (!parents.empty()) {
        const DynTypedNode& n = parents[0];
        if (const auto* fd = n.get<FunctionDecl>()) {
            const auto* md = dyn_cast<CXXMethodDecl>(fd);
            if (!md || !md->getParent()->isLambda()) {
                std::string name = fd->getQualifiedNameAsString();
                for (char& c : name)
                    if (c == ' ') c = '_';
                return name;
            }
        }
        if (const auto* vd = n.get<VarDecl>(); vd && vd->hasGlobalStorage()) {
            std::string name = "=" + vd->getQualifiedNameAsString();
            for (char& c : name)
                if (c == ' ') c = '_';
            return name;  // a table's initialiser
        }
        parents = ctx.getParents(n);
    }
    return "-";
}

class UseCollector : public MatchFinder::MatchCallback {
public:
    explicit UseCollector(std::set<std::string>& out) : out_(out) {}

    void run(const MatchFinder::MatchResult& r) override {
        const auto* me = r.Nodes.getNodeAs<MemberExpr>("use");
        const auto* vd = r.Nodes.getNodeAs<VarDecl>("member");
        if (!me || !vd) return;
        ASTContext& ctx = *r.Context;
        const SourceManager& sm = ctx.getSourceManager();
        SourceLocation loc = sm.getExpansionLoc(me->getBeginLoc());
        std::string file = sm.getFilename(loc).str();
        if (file.empty()) return;
        if (!kRoot.empty() && file.rfind(kRoot, 0) != 0) return;
        // Module and member.
        const auto* view = dyn_cast<CXXRecordDecl>(vd->getDeclContext());
        if (!view) return;
        const auto* ns = dyn_cast<NamespaceDecl>(view->getDeclContext());
        if (!ns) return;
        const auto* outer = dyn_cast<NamespaceDecl>(ns->getDeclContext());
        if (!outer || outer->getName() != "cat_mod") return;

        Kind k;
        const CXXRecordDecl* proxy = vd->getType()->getAsCXXRecordDecl();
        const std::string proxy_name = proxy ? proxy->getNameAsString() : "";
        if (proxy_name == "Slot")
            k = kRead;
        else if (proxy_name == "Cell") {
            g_escape_into.clear();
            k = proxy_use(ctx, me);
        }
        else
            return;  // Absent: a compile error elsewhere
        const unsigned line = sm.getExpansionLineNumber(loc);
        std::string entry = "USE " + ns->getName().str() + " " + vd->getName().str() + " " + kKindName[k] + " " +
                            file + ":" + std::to_string(line) + " " + outer_function(ctx, me);
        if (k == kEscape) entry += " " + (g_escape_into.empty() ? std::string("?") : g_escape_into);
        out_.insert(entry);
        // A copy slot is read by the group whose view names it.
        if (proxy_name == "Slot") {
            const auto* inst = dyn_cast<ClassTemplateSpecializationDecl>(view);
            if (inst && inst->getTemplateArgs().size() == 1 &&
                inst->getTemplateArgs()[0].getKind() == TemplateArgument::Integral)
                out_.insert("SLOT " + ns->getName().str() + " " + vd->getName().str() + " " +
                            std::to_string(inst->getTemplateArgs()[0].getAsIntegral().getExtValue()) + " " + file +
                            ":" + std::to_string(line) + " " + outer_function(ctx, me));
        }
    }

private:
    std::set<std::string>& out_;
};

// The call graph among the project's own functions, in call order, and the
// rate groups' slice table: what the order check walks.
class CallCollector : public MatchFinder::MatchCallback {
public:
    explicit CallCollector(std::set<std::string>& out) : out_(out) {}

    void run(const MatchFinder::MatchResult& r) override {
        const SourceManager& sm = r.Context->getSourceManager();
        if (const auto* call = r.Nodes.getNodeAs<CallExpr>("call")) {
            const auto* caller = r.Nodes.getNodeAs<FunctionDecl>("caller");
            const auto* callee = r.Nodes.getNodeAs<FunctionDecl>("callee");
            if (!caller || !callee) return;
            if (!in_root(sm, caller->getLocation()) || !in_root(sm, callee->getLocation())) return;
            if (callee->isImplicit() || callee->getBuiltinID() != 0 || caller->isImplicit()) return;
            const std::string pos = padded(sm.getFileOffset(sm.getExpansionLoc(call->getBeginLoc())), 8);
            std::string callee_name = callee->getQualifiedNameAsString();
            for (char& c : callee_name)
                if (c == ' ') c = '_';
            out_.insert("CALL " + outer_function(*r.Context, call) + " " + pos + " " + callee_name);
            return;
        }
        if (const auto* ref = r.Nodes.getNodeAs<DeclRefExpr>("tableuse")) {
            const auto* var = dyn_cast<VarDecl>(ref->getDecl());
            if (!var || !in_root(sm, var->getLocation())) return;
            if (!in_root(sm, ref->getBeginLoc())) return;  // a use in code outside the root
            if (const auto* rd = var->getType()->getAsCXXRecordDecl(); rd && rd->getName() == "view") return;
            std::string table = "=" + var->getQualifiedNameAsString();
            for (char& c : table)
                if (c == ' ') c = '_';
            const std::string fn = outer_function(*r.Context, ref);
            if (fn.empty() || fn[0] == '=' || fn == "-") return;
            const std::string pos = padded(sm.getFileOffset(sm.getExpansionLoc(ref->getBeginLoc())), 8);
            out_.insert("CALL " + fn + " " + pos + " " + table);
            return;
        }
        if (const auto* table = r.Nodes.getNodeAs<VarDecl>("slices")) {
            const auto* init = table->getInit();
            if (!init) return;
            int group = 0;
            // rg_slices = { {slice, slice, ...}, {...}, ... }: every function
            // named in the list of each group, in order.
            std::function<void(const Stmt*, int&)> walk = [&](const Stmt* s, int& idx) {
                if (!s) return;
                if (const auto* dre = dyn_cast<DeclRefExpr>(s)) {
                    if (const auto* fd = dyn_cast<FunctionDecl>(dre->getDecl())) {
                        out_.insert("SLICE " + std::to_string(group) + " " + padded(idx++, 3) + " " +
                                    fd->getQualifiedNameAsString());
                    }
                    return;
                }
                for (const Stmt* c : s->children()) walk(c, idx);
            };
            const auto* top = dyn_cast<InitListExpr>(init->IgnoreImplicit());
            if (!top) return;
            if (top->getSyntacticForm()) top = top->getSyntacticForm();
            for (const Expr* g : top->inits()) {
                int idx = 0;
                walk(g, idx);
                ++group;
            }
        }
    }

private:
    static bool in_root(const SourceManager& sm, SourceLocation l) {
        const std::string f = sm.getFilename(sm.getExpansionLoc(l)).str();
        if (f.empty()) return false;
        return kRoot.empty() || f.rfind(kRoot, 0) == 0;
    }
    std::set<std::string>& out_;
};

// Records the files a unit includes, for the dependency file.
class DepsAction : public ASTFrontendAction {
public:
    DepsAction(MatchFinder& f, std::set<std::string>& deps) : finder_(f), deps_(deps) {}
    std::unique_ptr<ASTConsumer> CreateASTConsumer(CompilerInstance&, StringRef) override {
        return finder_.newASTConsumer();
    }
    void EndSourceFileAction() override {
        const SourceManager& sm = getCompilerInstance().getSourceManager();
        for (auto it = sm.fileinfo_begin(); it != sm.fileinfo_end(); ++it) deps_.insert(it->first->getName().str());
    }

private:
    MatchFinder& finder_;
    std::set<std::string>& deps_;
};

class DepsFactory : public tooling::FrontendActionFactory {
public:
    DepsFactory(MatchFinder& f, std::set<std::string>& deps) : finder_(f), deps_(deps) {}
    std::unique_ptr<FrontendAction> create() override { return std::make_unique<DepsAction>(finder_, deps_); }

private:
    MatchFinder& finder_;
    std::set<std::string>& deps_;
};

}  // namespace

int main(int argc, const char** argv) {
    auto parser = tooling::CommonOptionsParser::create(argc, argv, kCategory);
    if (!parser) {
        llvm::errs() << parser.takeError();
        return 2;
    }
    tooling::ClangTool tool(parser->getCompilations(), parser->getSourcePathList());
    // The build's flags are g++'s: leave out what clang does not know.
    tool.appendArgumentsAdjuster(tooling::getClangStripOutputAdjuster());
    tool.appendArgumentsAdjuster(
        [](const tooling::CommandLineArguments& args, StringRef) {
            tooling::CommandLineArguments out;
            for (const auto& a : args) {
                if (a.rfind("-fconstexpr-ops-limit", 0) == 0 || a.rfind("-flto", 0) == 0 ||
                    a == "-ffat-lto-objects" || a == "-Wno-restrict" || a == "-Werror" ||
                    a.rfind("-fsanitize", 0) == 0)
                    continue;
                out.push_back(a);
            }
            out.push_back("-Wno-everything");
            out.push_back("-fconstexpr-steps=268435456");
            out.push_back("-fsyntax-only");
            return out;
        });
    std::set<std::string> uses, deps;
    UseCollector collector(uses);
    MatchFinder finder;
    finder.addMatcher(
        traverse(TK_AsIs,
                 memberExpr(member(varDecl(hasDeclContext(cxxRecordDecl(hasName("view")))).bind("member")))
                     .bind("use")),
        &collector);
    CallCollector calls(uses);
    finder.addMatcher(traverse(TK_AsIs, callExpr(callee(functionDecl().bind("callee")),
                                                 hasAncestor(functionDecl(isDefinition()).bind("caller")))
                                            .bind("call")),
                      &calls);
    finder.addMatcher(traverse(TK_AsIs, varDecl(hasName("rg_slices"), hasInitializer(expr())).bind("slices")),
                      &calls);
    // A function that uses a table of cells (the table's initialiser names
    // them): listed as a call of the table, so that the cells' uses in the
    // table count as the function's.
    finder.addMatcher(traverse(TK_AsIs, declRefExpr(to(varDecl(hasGlobalStorage(), unless(parmVarDecl()))))
                                            .bind("tableuse")),
                      &calls);
    DepsFactory factory(finder, deps);
    const int rc = tool.run(&factory);
    if (rc != 0) return rc;
    std::ofstream out(kOut.getValue());
    for (const auto& u : uses) out << u << "\n";
    if (!out) return 1;
    if (!kDepfile.empty()) {
        std::ofstream d(kDepfile.getValue());
        d << kOut.getValue() << ":";
        for (const auto& f : deps) d << " \\\n  " << f;
        d << "\n";
    }
    return 0;
}
