using System;
using System.Collections.Generic;
using System.Linq;

namespace Vestra
{
    /// <summary>How an operation appears on the wire.</summary>
    public enum OperationForm
    {
        /// <summary>"VX+KEY?": reads a value.</summary>
        Get,

        /// <summary>"VX+KEY=...": sets a value.</summary>
        Set,

        /// <summary>"VX+KEY": an action without arguments.</summary>
        Bare,
    }

    /// <summary>One device operation of the library: its C function and the row it uses.</summary>
    public sealed class Operation
    {
        internal Operation(string function, string row, string keyword, string form, string rule, int replyArea,
                           int special, string[] serviceFields)
        {
            Function = function;
            Row = row;
            Keyword = keyword;
            Form = form switch
            {
                "get" => OperationForm.Get,
                "set" => OperationForm.Set,
                "bare" => OperationForm.Bare,
                _ => throw new ArgumentException(form, nameof(form)),
            };
            Rule = rule;
            ReplyArea = replyArea;
            Special = special;
            ServiceFields = serviceFields;
        }

        /// <summary>The C function, such as "VX_GetDevName".</summary>
        public string Function { get; }

        /// <summary>The <see cref="Recorder"/> method, such as "GetDevName".</summary>
        public string Method => Function.Substring(3);

        /// <summary>The library's row name, such as "kGetDevName".</summary>
        public string Row { get; }

        /// <summary>The command keyword, such as "DEVNAME".</summary>
        public string Keyword { get; }

        /// <summary>Get, set or bare action.</summary>
        public OperationForm Form { get; }

        /// <summary>The reply's parse rule, such as "raw_copy".</summary>
        public string Rule { get; }

        /// <summary>Bytes of the area a text output is read into.</summary>
        public int ReplyArea { get; }

        /// <summary>The special status this operation can report instead of failing, or 0.</summary>
        public int Special { get; }

        /// <summary>The service record's field names of a platform configuration, in order.</summary>
        public IReadOnlyList<string> ServiceFields { get; }

        /// <inheritdoc/>
        public override string ToString() => $"{Function} ({Form} {Keyword})";
    }

    /// <summary>The library's device operations, as the <see cref="Recorder"/> methods use them.</summary>
    public static partial class Operations
    {
        /// <summary>Every device operation, in header order.</summary>
        public static IReadOnlyList<Operation> All => Table;

        /// <summary>The operation of a C function or method name, or null.</summary>
        /// <param name="name">"VX_GetDevName" or "GetDevName".</param>
        public static Operation? Find(string name) =>
            Table.FirstOrDefault(op => op.Function == name || op.Method == name);
    }
}
