#pragma once
// The selection shading of one graph: the strip (Picture3 on the upper graph, Picture6 on the
// lower one) spans the graph's full height from `left` over `width`, in twips. Inside it the
// highlight copy (Picture4, Picture7) is placed at -left so that it lines up with the graph.

struct SelectionShading {
    float left = 0.0f;
    float width = 0.0f;
    bool visible = false;      // the strip is shown
    bool copyVisible = true;   // the highlight copy inside the strip is shown
    float copyLeft() const { return -left; }

    bool operator==(const SelectionShading&) const = default;
};
