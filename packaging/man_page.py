#!/usr/bin/env python3
"""Writes a man page from a program's --help text and, for vimora-fx, its operation listing.

The pages are made from what the programs print, so they cannot drift from the programs.
"""
import argparse
import datetime
import os
import re
import sys


def roff(text):
    """Escapes text for a roff line: backslashes, hyphens and a leading dot or quote."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    if text[:1] in (".", "'"):
        text = "\\&" + text
    return text


def parse_help(text, omit):
    """Splits --help output into usage lines, description paragraphs and (option, meaning) pairs."""
    usage, description, options = [], [], []
    in_options = False
    for line in text.splitlines():
        if any(line.strip().startswith(prefix) for prefix in omit):
            continue
        if re.match(r"^\s*usage:", line, re.IGNORECASE) or (usage and not description and re.match(r"^\s{5,}\S", line)
                                                          and not in_options):
            usage.append(re.sub(r"^\s*usage:\s*", "", line, flags=re.IGNORECASE).strip())
            continue
        if re.match(r"^(Options|Arguments):\s*$", line):
            in_options = True
            continue
        option = re.match(r"^\s{1,4}(-\S.*?)(?:\s{2,}(.*))?$", line)
        if option and (in_options or option.group(2)):
            options.append([option.group(1).strip(), (option.group(2) or "").strip()])
            continue
        if in_options and line.strip() and options and re.match(r"^\s{6,}", line):
            options[-1][1] = (options[-1][1] + " " + line.strip()).strip()
            continue
        if in_options and line.strip() and re.match(r"^\s{1,4}\S", line):
            # A positional argument in Qt's listing.
            name, _, meaning = line.strip().partition("  ")
            options.append([name.strip(), meaning.strip()])
            continue
        if not line.strip():
            if description and description[-1]:
                description.append("")
            continue
        if in_options:
            continue
        if description and description[-1]:
            description[-1] += " " + line.strip()
        else:
            if description == [""]:
                description = []
            description.append(line.strip())
    return usage, [p for p in description if p], options


def catalogue_section(listing):
    """The operation listing: [family] headings, NAME  description, indented parameters."""
    out = [".SH OPERATIONS"]
    in_params = False
    for line in listing.splitlines():
        if not line.strip():
            continue
        family = re.match(r"^\[(.+)\]$", line)
        if family:
            if in_params:
                out.append(".RE")
                in_params = False
            out.append(".SS " + roff(family.group(1).capitalize()))
            continue
        if line.startswith("    "):
            key, _, rest = line.strip().partition("  ")
            if not in_params:
                out.append(".RS")
                in_params = True
            out.append(".TP")
            out.append("\\fI" + roff(key) + "\\fR")
            out.append(roff(rest.strip()))
            continue
        if in_params:
            out.append(".RE")
            in_params = False
        name, _, meaning = line.partition("  ")
        out.append(".TP")
        out.append(".B " + roff(name.strip()))
        out.append(roff(meaning.strip()))
    if in_params:
        out.append(".RE")
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--name", required=True)
    parser.add_argument("--summary", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--help-file", required=True)
    parser.add_argument("--catalogue-file")
    parser.add_argument("--omit", action="append", default=[], help="drop help lines starting with this")
    parser.add_argument("--see-also", default="")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    with open(args.help_file, encoding="utf-8") as f:
        usage, description, options = parse_help(f.read(), args.omit)
    if not usage:
        sys.exit("man_page: no usage line in " + args.help_file)

    # Reproducible builds set the date; otherwise the day of the build.
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    utc = datetime.timezone.utc
    when = datetime.datetime.fromtimestamp(int(epoch), utc) if epoch else datetime.datetime.now(utc)
    date = when.strftime("%Y-%m-%d")
    page = ['.TH "%s" 1 "%s" "Vimora %s" "User Commands"' % (args.name.upper(), date, args.version),
            ".SH NAME", roff(args.name) + " \\- " + roff(args.summary), ".SH SYNOPSIS"]
    for i, line in enumerate(usage):
        if i:
            page.append(".br")
        words = line.split(None, 1)
        page.append(".B " + roff(words[0]))
        if len(words) > 1:
            page.append(roff(words[1]))
    if description:
        page.append(".SH DESCRIPTION")
        for i, paragraph in enumerate(description):
            if i:
                page.append(".PP")
            page.append(roff(paragraph))
    if options:
        page.append(".SH OPTIONS")
        for option, meaning in options:
            page += [".TP", ".B " + roff(option), roff(meaning)]
    if args.catalogue_file:
        with open(args.catalogue_file, encoding="utf-8") as f:
            page += catalogue_section(f.read())
    if args.see_also:
        page += [".SH SEE ALSO", roff(args.see_also)]
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(page) + "\n")


if __name__ == "__main__":
    main()
