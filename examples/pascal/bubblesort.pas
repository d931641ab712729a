{ Bubble sort: the statement part comes from bubblesort.fgd. }
program BubbleSortDemo;

type
  TList = array[1..10] of Integer;

procedure Sort(var a: TList; n: Integer);
var
  i, j, t: Integer;
{$I bubblesort.inc}

procedure Show(const a: TList; n: Integer);
var
  k: Integer;
begin
  for k := 1 to n do
    Write(a[k], ' ');
  WriteLn;
end;

var
  a: TList = (9, 4, 7, 1, 8, 2, 10, 3, 6, 5);
  b: TList = (2, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  c: TList = (1, 2, 3, 3, 2, 1, 0, 0, 0, 0);
begin
  Sort(a, 10);
  Show(a, 10);
  Sort(b, 2);
  Show(b, 2);
  Sort(c, 6);
  Show(c, 6);
  Sort(c, 1);
  Show(c, 1);
end.
