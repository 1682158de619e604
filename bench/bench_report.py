"""What the benchmark prints: for each player build measured, its figures beside the
trivial program's and the breakdown of its starts; then, with several builds, the
figures side by side."""
import statistics

from wine_trace import breakdown, format_breakdown


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def spread(values):
    return f"{median(values):6.3f} s  (min {min(values):.3f}, max {max(values):.3f})"


def figures(engine, trivial, runs, size):
    """{measure: median} of one build's runs, in the order they are shown."""
    link = [r["link"] for r in runs]
    init = [r["init"] for r in runs]
    shown = {
        "trivial program under Wine, start to window": median([t["shown"] for t in trivial]),
        "link given -> first content navigation": median([r["navigation"] for r in link]),
    }
    if engine == "chromium":
        shown["link given -> content's first frame drawn"] = median([r["frame"] for r in link])
    shown["start -> init screen's first navigation"] = median([r["navigation"] for r in init])
    shown["resident memory of quorvel.exe, MiB"] = median([r["memory"] for r in link]) / 1024
    shown["resident memory of the trivial program, MiB"] = (
        median([t["memory"] for t in trivial]) / 1024)
    shown["quorvel.exe size, MiB"] = size / 1024 / 1024
    return shown


def report(engine, name, trivial, runs, load, size):
    link = [r["link"] for r in runs]
    init = [r["init"] for r in runs]
    floor = median([t["shown"] for t in trivial])
    print(f"\n== {name}, engine {engine}: {len(runs)} runs, medians; load average "
          f"{load[0]} before, {load[1]} after")
    print(f"trivial program under Wine, start to window: {spread([t['shown'] for t in trivial])}")
    navigation = [r["navigation"] for r in link]
    print(f"link given -> first content navigation:      {spread(navigation)}"
          f"  {median(navigation) / floor:.1f} x trivial")
    if engine == "chromium":
        print(f"link given -> content's first frame drawn:   {spread([r['frame'] for r in link])}"
              f"  (captures every {median([r['spacing'] for r in link]) * 1000:.0f} ms)")
    init_navigation = [r["navigation"] for r in init]
    print(f"start -> init screen's first navigation:     {spread(init_navigation)}"
          f"  {median(init_navigation) / floor:.1f} x trivial")
    print(f"resident memory of quorvel.exe (link mode):  "
          f"{median([r['memory'] for r in link]) / 1024:6.1f} MiB  "
          f"(trivial program: {median([t['memory'] for t in trivial]) / 1024:.1f} MiB)")
    print(f"quorvel.exe size:                            {size / 1024 / 1024:6.2f} MiB")
    print(f"platform requests of the link road:          "
          f"{median([r['requests'] for r in link]):.0f} on "
          f"{median([r['connections'] for r in link]):.0f} connection(s)")
    print(format_breakdown("\nlink road (seconds since the process was started)",
                           breakdown([r["marks"] for r in link]), len(runs)))
    print(format_breakdown("\ninit screen", breakdown([r["marks"] for r in init]), len(runs)))
    print(format_breakdown("\ntrivial program (the floor)",
                           breakdown([t["marks"] for t in trivial]), len(runs)))


def side_by_side(engine, shown):
    """`shown`: [(build name, figures())], measured in the same rounds."""
    names = [name for name, _ in shown]
    width = max(12, *(len(name) for name in names))
    print(f"\n== side by side, engine {engine} (medians of the same rounds)")
    print(f"{'':46}" + "".join(f"{name:>{width + 2}}" for name in names))
    for measure in shown[0][1]:
        values = [figures_of.get(measure) for _, figures_of in shown]
        print(f"{measure:46}" + "".join(
            f"{'-':>{width + 2}}" if v is None else f"{v:>{width + 2}.3f}" for v in values))
