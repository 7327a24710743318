// LayoutSolver.cpp - solving a layout rule table against a list of child
// rectangles: clearing, offset conversion, repeated walks and centring.
#include "widgets/LayoutSolver.h"

#include "res/resource.h"

#include <memory>
#include <new>

namespace {

bool IsVerticalMetric(int metric)
{
    return metric == LAYOUT_TOP || metric == LAYOUT_BOTTOM || metric == LAYOUT_HEIGHT;
}

int OppositeSide(int side)
{
    return side ^ 2; // left <-> right, top <-> bottom
}

int PairedMetric(int side)
{
    switch (side) {
    case LAYOUT_LEFT:
    case LAYOUT_RIGHT:
        return LAYOUT_WIDTH;
    case LAYOUT_TOP:
    case LAYOUT_BOTTOM:
        return LAYOUT_HEIGHT;
    case LAYOUT_WIDTH:
        return LAYOUT_RIGHT;
    default:
        return LAYOUT_BOTTOM;
    }
}

int& Metric(LayoutChild& c, int metric)
{
    switch (metric) {
    case LAYOUT_LEFT:
        return c.left;
    case LAYOUT_TOP:
        return c.top;
    case LAYOUT_RIGHT:
        return c.right;
    case LAYOUT_BOTTOM:
        return c.bottom;
    case LAYOUT_WIDTH:
        return c.width;
    default:
        return c.height;
    }
}

bool InGroup(int id, const LayoutRule& rule)
{
    return id >= rule.firstId && id <= rule.lastId;
}

bool IsCentring(int action)
{
    return action == LAYOUT_CENTER_VERT || action == LAYOUT_CENTER_HORZ;
}

int CountChildren(const LayoutChild* list)
{
    int n = 0;
    while (list[n].id != LAYOUT_LIST_END)
        ++n;
    return n;
}

bool SolveTable(LayoutRule* rules, LayoutChild* list, LayoutHost& host, LayoutStats* stats);

// Union of the non-empty rectangles of a group, as UnionRect builds it.
struct Box
{
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty = true;
    void Add(const LayoutChild& c)
    {
        if (c.right <= c.left || c.bottom <= c.top)
            return;
        if (empty) {
            left = c.left, top = c.top, right = c.right, bottom = c.bottom;
            empty = false;
            return;
        }
        if (c.left < left)
            left = c.left;
        if (c.top < top)
            top = c.top;
        if (c.right > right)
            right = c.right;
        if (c.bottom > bottom)
            bottom = c.bottom;
    }
};

bool ApplyCentring(LayoutRule& rule, const LayoutRule* table, LayoutChild* list,
                   const LayoutChild& ref, LayoutHost& host)
{
    const bool horizontal = rule.action == LAYOUT_CENTER_HORZ;
    const int sizeMetric = horizontal ? LAYOUT_WIDTH : LAYOUT_HEIGHT;
    const int count = CountChildren(list);

    for (int i = 1; i < count; ++i)
        if (InGroup(list[i].id, rule) && !FindLayoutChild(list, list[i].id)->known[sizeMetric])
            return false;

    // The group's own edge rules along this axis, solved on a fully known copy.
    // Centring rows never go into the sub-table, so a centring rule cannot
    // select itself and the recursion is one level deep at most.
    const int rows = CountLayoutRules(table);
    std::unique_ptr<LayoutRule[]> sub(new (std::nothrow) LayoutRule[rows + 1]);
    std::unique_ptr<LayoutChild[]> copy(new (std::nothrow) LayoutChild[count + 1]);
    if (!sub || !copy) {
        host.Report(IDS_LAYOUT_CENTRING);
        return false;
    }
    int n = 0;
    for (int i = 0; i < rows; ++i) {
        const LayoutRule& r = table[i];
        if (IsCentring(r.action) || !InGroup(r.firstId, rule))
            continue;
        bool onAxis = horizontal ? (r.side == LAYOUT_LEFT || r.side == LAYOUT_RIGHT)
                                 : (r.side == LAYOUT_TOP || r.side == LAYOUT_BOTTOM);
        if (onAxis)
            sub[n++] = r;
    }
    sub[n] = LayoutRule{LAYOUT_END, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i <= count; ++i) {
        copy[i] = list[i];
        for (int& k : copy[i].known)
            k = 1;
    }
    if (!SolveTable(sub.get(), copy.get(), host, nullptr)) {
        host.Report(IDS_LAYOUT_CENTRING);
        return false;
    }

    Box box;
    for (int i = 1; i < count; ++i)
        if (InGroup(copy[i].id, rule))
            box.Add(copy[i]);
    const int refNear = horizontal ? ref.left : ref.top;
    const int refSize = horizontal ? ref.width : ref.height;
    const int groupNear = horizontal ? box.left : box.top;
    const int groupSize = horizontal ? box.right - box.left : box.bottom - box.top;
    const int shift = refNear + (refSize - groupSize) / 2 + rule.offsetPx - groupNear;

    for (int i = 1; i < count; ++i) {
        if (!InGroup(copy[i].id, rule))
            continue;
        LayoutChild& real = list[i];
        if (horizontal) {
            real.left = copy[i].left + shift;
            real.right = copy[i].right + shift;
            real.known[LAYOUT_LEFT] = real.known[LAYOUT_RIGHT] = 1;
        } else {
            real.top = copy[i].top + shift;
            real.bottom = copy[i].bottom + shift;
            real.known[LAYOUT_TOP] = real.known[LAYOUT_BOTTOM] = 1;
        }
        DeriveLayoutMetrics(real);
    }
    rule.done = 1;
    return true;
}

bool ApplyRule(LayoutRule& rule, const LayoutRule* table, LayoutChild* list, LayoutHost& host)
{
    LayoutChild* refEntry = FindLayoutChild(list, rule.refId);
    if (!refEntry)
        return false;
    bool ready;
    if (rule.refMetric == LAYOUT_CENTER) {
        if (rule.action == LAYOUT_CENTER_HORZ)
            ready = refEntry->known[LAYOUT_LEFT] && refEntry->known[LAYOUT_RIGHT];
        else
            ready = refEntry->known[LAYOUT_TOP] && refEntry->known[LAYOUT_BOTTOM];
    } else if (rule.refMetric >= 0) {
        ready = refEntry->known[rule.refMetric] != 0;
    } else {
        ready = true;
    }
    if (!ready)
        return false;

    LayoutChild ref = *refEntry;
    if (rule.refMetric == LAYOUT_WIDTH)
        ref.width = ref.width * rule.percent / 100;
    else if (rule.refMetric == LAYOUT_HEIGHT)
        ref.height = ref.height * rule.percent / 100;

    if (IsCentring(rule.action))
        return ApplyCentring(rule, table, list, ref, host);

    LayoutChild* child = FindLayoutChild(list, rule.firstId);
    if (!child)
        return false;
    Metric(*child, rule.side) = Metric(ref, rule.refMetric) + rule.offsetPx;
    child->known[rule.side] = 1;
    DeriveLayoutMetrics(*child);
    rule.done = 1;
    return true;
}

bool SolveTable(LayoutRule* rules, LayoutChild* list, LayoutHost& host, LayoutStats* stats)
{
    const int rows = CountLayoutRules(rules);
    const int count = CountChildren(list);

    // Clearing pass: forget what the rules are about to set.
    for (int i = 0; i < rows; ++i) {
        const LayoutRule& r = rules[i];
        if (IsCentring(r.action)) {
            const bool horizontal = r.action == LAYOUT_CENTER_HORZ;
            for (int j = 1; j < count; ++j) {
                if (!InGroup(list[j].id, r))
                    continue;
                LayoutChild* c = FindLayoutChild(list, list[j].id);
                c->known[horizontal ? LAYOUT_LEFT : LAYOUT_TOP] = 0;
                c->known[horizontal ? LAYOUT_RIGHT : LAYOUT_BOTTOM] = 0;
                c->untouched = 0;
            }
            continue;
        }
        LayoutChild* c = FindLayoutChild(list, r.firstId);
        if (!c)
            continue; // validated before; cannot happen
        c->untouched = 0;
        c->known[r.side] = 0;
        c->known[r.action == LAYOUT_STRETCH ? PairedMetric(r.side) : OppositeSide(r.side)] = 0;
    }

    // Conversion pass.
    for (int i = 0; i < rows; ++i) {
        LayoutRule& r = rules[i];
        bool vertical =
            r.action == LAYOUT_CENTER_VERT || (!IsCentring(r.action) && IsVerticalMetric(r.side));
        r.offsetPx = host.OffsetToPixels(r.offset, vertical);
        r.done = 0;
    }

    int walks = 0, firstWalk = 0, applied;
    do {
        applied = 0;
        for (int i = 0; i < rows; ++i)
            if (rules[i].done != 1 && ApplyRule(rules[i], rules, list, host))
                ++applied;
        if (walks++ == 0)
            firstWalk = applied;
    } while (applied > 0);
    if (stats) {
        stats->walks = walks;
        stats->appliedFirstWalk = firstWalk;
    }
    for (int i = 0; i < rows; ++i)
        if (rules[i].done != 1)
            return false;
    return true;
}

} // namespace

const char* LayoutMetricName(int metric)
{
    static const char* const names[] = {"left", "top", "right", "bottom", "width", "height"};
    return metric >= 0 && metric < 6 ? names[metric] : "";
}

void DeriveLayoutMetrics(LayoutChild& c)
{
    int* k = c.known;
    if (!k[LAYOUT_LEFT] && k[LAYOUT_RIGHT] && k[LAYOUT_WIDTH])
        c.left = c.right - c.width, k[LAYOUT_LEFT] = 1;
    if (!k[LAYOUT_TOP] && k[LAYOUT_BOTTOM] && k[LAYOUT_HEIGHT])
        c.top = c.bottom - c.height, k[LAYOUT_TOP] = 1;
    if (!k[LAYOUT_RIGHT] && k[LAYOUT_LEFT] && k[LAYOUT_WIDTH])
        c.right = c.left + c.width, k[LAYOUT_RIGHT] = 1;
    if (!k[LAYOUT_BOTTOM] && k[LAYOUT_TOP] && k[LAYOUT_HEIGHT])
        c.bottom = c.top + c.height, k[LAYOUT_BOTTOM] = 1;
    if (!k[LAYOUT_WIDTH] && k[LAYOUT_LEFT] && k[LAYOUT_RIGHT])
        c.width = c.right - c.left, k[LAYOUT_WIDTH] = 1;
    if (!k[LAYOUT_HEIGHT] && k[LAYOUT_TOP] && k[LAYOUT_BOTTOM])
        c.height = c.bottom - c.top, k[LAYOUT_HEIGHT] = 1;
}

LayoutChild* FindLayoutChild(LayoutChild* list, int id)
{
    for (LayoutChild* c = list; c->id != LAYOUT_LIST_END; ++c) {
        if (c->id == id) {
            DeriveLayoutMetrics(*c);
            return c;
        }
    }
    return nullptr;
}

int CountLayoutRules(const LayoutRule* rules)
{
    int n = 0;
    while (rules[n].action != LAYOUT_END)
        ++n;
    return n;
}

bool ValidateLayoutRules(const LayoutRule* rules, const LayoutChild* list, LayoutHost& host)
{
    auto present = [list](int id) {
        for (const LayoutChild* c = list; c->id != LAYOUT_LIST_END; ++c)
            if (c->id == id)
                return true;
        return false;
    };
    for (const LayoutRule* r = rules; r->action != LAYOUT_END; ++r) {
        if (r->action < LAYOUT_STRETCH || r->action > LAYOUT_CENTER_HORZ) {
            host.Report(IDS_LAYOUT_BAD_ACTION);
            return false;
        }
        if (!IsCentring(r->action)) {
            if (r->action == LAYOUT_MOVE && (r->side < 0 || r->side > LAYOUT_BOTTOM)) {
                host.Report(IDS_LAYOUT_BAD_SIDE);
                return false;
            }
            if (r->side < 0 || r->side > LAYOUT_HEIGHT || r->refMetric < 0 ||
                r->refMetric > LAYOUT_HEIGHT) {
                host.Report(IDS_LAYOUT_BAD_METRIC);
                return false;
            }
            if (r->firstId == LAYOUT_PARENT_ID || !present(r->firstId)) {
                host.Report(IDS_LAYOUT_NO_CHILD);
                return false;
            }
        } else if (r->refMetric > LAYOUT_CENTER) {
            host.Report(IDS_LAYOUT_BAD_METRIC);
            return false;
        }
        if (!present(r->refId)) {
            host.Report(IDS_LAYOUT_NO_CHILD);
            return false;
        }
    }
    return true;
}

bool SolveLayout(LayoutRule* rules, LayoutChild* list, LayoutHost& host, LayoutStats* stats)
{
    if (stats)
        *stats = LayoutStats{0, 0};
    if (!ValidateLayoutRules(rules, list, host))
        return false;
    return SolveTable(rules, list, host, stats);
}
